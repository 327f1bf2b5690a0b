#include "platform/charset_decoder.h"

#include <iconv.h>

#include <cerrno>

namespace platform {

std::optional<std::u16string> decode_charset(std::string_view bytes, std::string_view charset) {
  // iconv reads "//" and "," in a name as conversion flags; a page's charset
  // name never holds them, so such a name is simply unknown.
  if (charset.empty() || charset.find_first_of("/,") != std::string_view::npos) return std::nullopt;
  std::string name(charset);
  iconv_t cd = iconv_open("UTF-16LE", name.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;

  std::string raw;
  char buffer[8192];
  char* in = const_cast<char*>(bytes.data());
  size_t in_left = bytes.size();
  while (in_left > 0) {
    char* out = buffer;
    size_t out_left = sizeof buffer;
    size_t r = iconv(cd, &in, &in_left, &out, &out_left);
    raw.append(buffer, out - buffer);
    if (r != static_cast<size_t>(-1) || errno == E2BIG) continue;
    // EILSEQ, or EINVAL for a sequence cut short by the end: one replacement
    // character for the byte, then go on with the next.
    raw.append("\xFD\xFF", 2);
    ++in;
    --in_left;
  }
  // Flush what a stateful charset still holds.
  char* out = buffer;
  size_t out_left = sizeof buffer;
  iconv(cd, nullptr, nullptr, &out, &out_left);
  raw.append(buffer, out - buffer);
  iconv_close(cd);

  std::u16string units(raw.size() / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(raw[2 * i]) |
                                     (static_cast<unsigned char>(raw[2 * i + 1]) << 8));
  }
  return units;
}

}  // namespace platform
