#include "platform/charset_decoder.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(CharsetDecoder, DecodesNamedCharsetsIntoUtf16) {
  struct Case {
    std::string bytes, charset;
    std::u16string units;
  } cases[] = {
      {"\xE5\x9F\xBA\xE9\x87\x91", "utf-8", u"\u57FA\u91D1"},
      {"\xE5\x9F\xBA", "UTF-8", u"\u57FA"},
      {"\xBB\xF9\xBD\xF0", "GB2312", u"\u57FA\u91D1"},
      // GB2312 pages are read as GBK: 86 B4 is outside GB2312 proper.
      {"\x86\xB4\xBB\xF9", "gb2312", u"\u5586\u57FA"},
      // A UTF-8 byte-order mark is dropped, in front only.
      {"\xEF\xBB\xBF\xE5\x9F\xBA", "utf-8", u"\u57FA"},
      {"a\xEF\xBB\xBF", "UTF8", u"a\uFEFF"},
      {"\xB0\xF2", "big5", u"\u57FA"},
      {"caf\xE9", "iso-8859-1", u"caf\u00E9"},
      {std::string("a\0b", 3), "utf-8", std::u16string(u"a\0b", 3)},
      // Bytes the charset cannot read each become U+FFFD, the rest survive.
      {"a\xFF"
       "b\xE5\x9F",
       "utf-8", u"a\uFFFDb\uFFFD\uFFFD"},
      {"", "utf-8", u""},
  };
  for (const Case& c : cases) {
    std::optional<std::u16string> units = decode_charset(c.bytes, c.charset);
    ASSERT_TRUE(units.has_value()) << c.charset;
    EXPECT_EQ(*units, c.units) << c.charset;
  }
}

TEST(CharsetDecoder, UnknownNamesGiveNothing) {
  for (const char* charset : {"", "x-no-such-charset", "utf-8//TRANSLIT", "utf-8,x"}) {
    EXPECT_FALSE(decode_charset("abc", charset).has_value()) << charset;
  }
}

}  // namespace
}  // namespace platform
