// Code-page conversion of whole texts: UTF-8 replies into the program's GBK
// text, through UTF-16. Supported code pages: 0 (the system ANSI code page,
// GBK here), 936 (GBK) and 65001 (UTF-8). Stateless.
#pragma once

#include <string>

#include "text/text.h"

// The characters of the UTF-8 `utf8` as GBK text. Invalid UTF-8 and
// characters without a GBK form each become "?".
Text utf8_to_ansi(const Text& utf8);

// `text` (up to its first zero byte) in `code_page` as UTF-16; a byte
// sequence that is not valid in the code page becomes U+FFFD. An unsupported
// code page gives the empty text.
std::u16string to_utf16(const Text& text, int code_page = 65001);

// `units` (up to the first zero unit) as multibyte text in `code_page`; a
// character without a form there becomes "?". An unsupported code page gives
// the empty text.
Text from_utf16(const std::u16string& units, int code_page = 0);
