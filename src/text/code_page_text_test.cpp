#include "text/code_page_text.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf8ToAnsi, ConvertsToGbkBytes) {
  struct Case {
    Text utf8;
    Text gbk;
  } cases[] = {
      {"\xE5\x9F\xBA\xE9\x87\x91", "\xBB\xF9\xBD\xF0"},  // 基金
      {"", ""},
      {"jsonpgz({\"gsz\":\"1.0\"});", "jsonpgz({\"gsz\":\"1.0\"});"},
      {"a\xFF"
       "b",
       "a?b"},                                              // invalid byte
      {"\xE5\x9F", "?"},                                    // cut short at the end
      {"\xE5\x9F\xBA\xE9", "\xBB\xF9?"},                    // the same after a good character
      {"\xF0\x9F\x98\x80!", "?!"},                          // no GBK form
      {Text("\xE5\x9F\xBA\0\xE9\x87\x91", 7), "\xBB\xF9"},  // ends at the zero byte
  };
  for (const Case& c : cases) EXPECT_EQ(utf8_to_ansi(c.utf8), c.gbk) << c.utf8;
}

TEST(CodePageText, Utf16StepsAndTheirDefaults) {
  EXPECT_EQ(to_utf16("\xE5\x9F\xBA"), u"\u57FA");  // UTF-8 unless told
  EXPECT_EQ(to_utf16("\xBB\xF9", 936), u"\u57FA");
  EXPECT_EQ(from_utf16(u"\u57FA"), "\xBB\xF9");  // the ANSI code page is GBK
  EXPECT_EQ(from_utf16(u"\u57FA", 65001), "\xE5\x9F\xBA");
  EXPECT_EQ(from_utf16(std::u16string(u"a\0b", 3)), "a");
  EXPECT_EQ(to_utf16("abc", 1252), u"");  // unsupported code page
  EXPECT_EQ(from_utf16(u"abc", 1252), "");
}

}  // namespace
