#include "platform/charset_decoder.h"

#include <string>

#include "platform/ascii_case.h"
#include "platform/iconv_converter.h"

namespace platform {
namespace {

using internal::equals_ignoring_ascii_case;

bool is_utf8_name(std::string_view charset) {
  return equals_ignoring_ascii_case(charset, "utf-8") ||
         equals_ignoring_ascii_case(charset, "utf8");
}

}  // namespace

std::optional<std::u16string> decode_charset(std::string_view bytes, std::string_view charset) {
  // iconv reads "//" and "," in a name as conversion flags; a page's charset
  // name never holds them, so such a name is simply unknown.
  if (charset.empty() || charset.find_first_of("/,") != std::string_view::npos) return std::nullopt;
  std::string name(charset);
  // Pages that declare GB2312 are written in its superset GBK, the way the
  // system code page 936 reads both; iconv's own GB2312 would turn every
  // GBK-only character into a replacement.
  if (equals_ignoring_ascii_case(charset, "gb2312")) name = "CP936";
  // A UTF-8 byte-order mark marks the encoding and is no character of the text.
  if (is_utf8_name(charset) && bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  internal::IconvConverter converter("UTF-16LE", name.c_str());
  if (!converter.valid()) return std::nullopt;
  // Each byte iconv refuses becomes one replacement character.
  std::string raw = converter.run(bytes, [](std::string& out, const char*, size_t) {
    out.append("\xFD\xFF", 2);
    return size_t{1};
  });
  return internal::units_from_utf16le(raw);
}

}  // namespace platform
