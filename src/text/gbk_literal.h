// GBK program texts from UTF-8 source literals. Source files are UTF-8, while
// every text the program shows, writes or sends must be GBK at run time, so
// each such literal goes through gbk().
#pragma once

#include <string_view>

#include "text/text.h"

// Converts a UTF-8 literal to GBK. A character with no GBK form becomes "?".
Text gbk(std::string_view utf8_literal);
