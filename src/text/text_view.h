// The bytes of a Text as far as its first zero byte. A Text is a
// zero-terminated byte string: whatever a std::string holds after a zero byte
// is not part of the text. Stateless.
#pragma once

#include <string_view>

#include "text/text.h"

inline std::string_view text_view(const Text& text) { return std::string_view(text.c_str()); }
