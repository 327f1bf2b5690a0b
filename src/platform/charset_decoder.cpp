#include "platform/charset_decoder.h"

#include <string>

#include "platform/iconv_converter.h"

namespace platform {

std::optional<std::u16string> decode_charset(std::string_view bytes, std::string_view charset) {
  // iconv reads "//" and "," in a name as conversion flags; a page's charset
  // name never holds them, so such a name is simply unknown.
  if (charset.empty() || charset.find_first_of("/,") != std::string_view::npos) return std::nullopt;
  internal::IconvConverter converter("UTF-16LE", std::string(charset).c_str());
  if (!converter.valid()) return std::nullopt;
  // Each byte iconv refuses becomes one replacement character.
  std::string raw = converter.run(bytes, [](std::string& out, const char*, size_t) {
    out.append("\xFD\xFF", 2);
    return size_t{1};
  });
  return internal::units_from_utf16le(raw);
}

}  // namespace platform
