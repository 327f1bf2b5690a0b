#include "text/code_page_text.h"

#include <stdexcept>
#include <string_view>

#include "platform/code_page.h"
#include "text/text_view.h"

Text utf8_to_ansi(const Text& utf8) {
  return from_utf16(to_utf16(utf8, platform::kCodePageUtf8), platform::kCodePageGbk);
}

std::u16string to_utf16(const Text& text, int code_page) {
  try {
    return platform::multibyte_to_wide(text_view(text), code_page);
  } catch (const std::invalid_argument&) {
    return std::u16string();
  }
}

Text from_utf16(const std::u16string& units, int code_page) {
  try {
    Text out = platform::wide_to_multibyte(std::u16string_view(units.c_str()), code_page);
    return Text(text_view(out));
  } catch (const std::invalid_argument&) {
    return Text();
  }
}
