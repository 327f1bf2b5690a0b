// Converts arbitrary bytes as UTF-8 into GBK and checks that the result is
// valid GBK without zero bytes, never longer than the input, and that ASCII
// input comes through unchanged.
#include <string_view>

#include "fuzz/fuzz_input.h"
#include "text/code_page_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Text utf8(reinterpret_cast<const char*>(data), size);
  std::string_view input(utf8.c_str());  // the text ends at its first zero byte

  Text gbk = utf8_to_ansi(utf8);
  check(gbk.find('\0') == Text::npos);
  check(gbk.size() <= input.size());
  // Every byte sequence of the result is GBK: reading it back gives no
  // replacement character (U+FFFD has no GBK form, so it never came through).
  check(to_utf16(gbk, 936).find(u'\uFFFD') == std::u16string::npos);

  bool ascii = true;
  for (char c : input) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) check(gbk == input);
  return 0;
}
