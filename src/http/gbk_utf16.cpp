#include "http/gbk_utf16.h"

#include <algorithm>

#include "platform/code_page.h"

Bytes gbk_to_utf16(const Text& text, ZeroUnit zero) {
  if (text.empty()) return {};
  std::size_t end = text.find('\0');
  std::u16string units =
      platform::multibyte_to_wide(std::string_view(text).substr(0, end), platform::kCodePageGbk);
  if (zero == ZeroUnit::kKeep) units.push_back(u'\0');
  Bytes bytes;
  bytes.reserve(units.size() * 2);
  for (char16_t unit : units) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

Text utf16_to_gbk(const Bytes& utf16) {
  std::u16string units;
  units.reserve(utf16.size() / 2);
  for (std::size_t i = 0; i + 1 < utf16.size(); i += 2) {
    auto unit = static_cast<char16_t>(static_cast<unsigned char>(utf16[i]) |
                                      (static_cast<unsigned char>(utf16[i + 1]) << 8));
    if (unit == u'\0') break;
    units.push_back(unit);
  }
  Text text = platform::wide_to_multibyte(
      units, platform::kCodePageGbk, platform::WideToMultibyteOptions{.composite_check = true});
  return text.substr(0, text.find('\0'));
}
