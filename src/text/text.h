// The program's text type: a byte string in the GBK code page (936). Lengths
// count bytes; the text utilities count positions from 1.
#pragma once

#include <string>

using Text = std::string;
