#include "http/gbk_utf16.h"

#include "platform/code_page.h"
#include "text/text_view.h"

std::u16string gbk_to_utf16_units(const Text& text) {
  return platform::multibyte_to_wide(text_view(text), platform::kCodePageGbk);
}

Bytes gbk_to_utf16(const Text& text, ZeroUnit zero) {
  if (text.empty()) return {};
  std::u16string units = gbk_to_utf16_units(text);
  if (zero == ZeroUnit::kKeep) units.push_back(u'\0');
  Bytes bytes(units.size() * 2, '\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    bytes[2 * i] = static_cast<char>(units[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<char>(units[i] >> 8);
  }
  return bytes;
}

Text utf16_units_to_gbk(std::u16string_view units) {
  units = units.substr(0, units.find(u'\0'));
  Text text = platform::wide_to_multibyte(
      units, platform::kCodePageGbk, platform::WideToMultibyteOptions{.composite_check = true});
  return text.substr(0, text.find('\0'));
}

Text utf16_to_gbk(const Bytes& utf16) {
  std::u16string units(utf16.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(utf16[2 * i]) |
                                     (static_cast<unsigned char>(utf16[2 * i + 1]) << 8));
  }
  return utf16_units_to_gbk(units);
}
