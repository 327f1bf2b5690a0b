// Raw byte arrays (request and reply bodies, UTF-16 byte arrays). A value
// type: a std::string used for bytes, zero bytes included.
#pragma once

#include <string>

using Bytes = std::string;
