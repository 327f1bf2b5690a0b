// The conversions between GBK text and the UTF-16 byte arrays (little-endian
// units) the HTTP service works in, and the same conversions on UTF-16 units
// for callers that hand units on directly. Stateless.
#pragma once

#include <string>
#include <string_view>

#include "http/bytes.h"
#include "text/text.h"

enum class ZeroUnit {
  kKeep,  // end the array with one zero unit
  kDrop,  // leave the zero unit out
};

// The text up to its first zero byte as UTF-16 bytes, two per unit; the
// empty array for empty text.
Bytes gbk_to_utf16(const Text& text, ZeroUnit zero = ZeroUnit::kKeep);

// The units of `utf16` up to the first zero unit as GBK text; a base letter
// followed by a combining mark becomes the precomposed character where GBK
// has it. A character GBK lacks becomes "?". An odd last byte is ignored.
Text utf16_to_gbk(const Bytes& utf16);

// The units gbk_to_utf16 gives, without the zero unit.
std::u16string gbk_to_utf16_units(const Text& text);

// utf16_to_gbk of the bytes of `units`.
Text utf16_units_to_gbk(std::u16string_view units);
