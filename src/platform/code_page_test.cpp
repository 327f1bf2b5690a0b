#include "platform/code_page.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(CodePage, GbkAndUtf8RoundTripThroughUtf16) {
  std::string utf8 = "\xE5\x9F\xBA\xE9\x87\x91";  // 基金
  std::u16string wide = multibyte_to_wide(utf8, kCodePageUtf8);
  EXPECT_EQ(wide, u"\u57FA\u91D1");
  EXPECT_EQ(wide_to_multibyte(wide, kCodePageGbk), "\xBB\xF9\xBD\xF0");
  EXPECT_EQ(multibyte_to_wide("\xBB\xF9\xBD\xF0", kCodePageGbk), wide);
  EXPECT_EQ(wide_to_multibyte(wide, kCodePageUtf8), utf8);
}

TEST(CodePage, ZeroBytesAndEmptyInputAreKept) {
  EXPECT_EQ(multibyte_to_wide(std::string_view("a\0b", 3), kCodePageUtf8),
            std::u16string(u"a\0b", 3));
  EXPECT_EQ(multibyte_to_wide("", kCodePageGbk), u"");
  EXPECT_EQ(wide_to_multibyte(u"", kCodePageGbk), "");
}

TEST(CodePage, InvalidUtf8BecomesReplacementCharacter) {
  struct Case {
    std::string in;
    std::u16string out;
  } cases[] = {
      {"a\xFF"
       "b",
       u"a\uFFFDb"},
      {"\xE5\x9F", u"\uFFFD"},  // cut short at the end
      {"\xE5\x9F"
       "A",
       u"\uFFFDA"},                   // cut short before ASCII
      {"\x80\x80", u"\uFFFD\uFFFD"},  // lone continuation bytes
      {"\xC0\xAF", u"\uFFFD"},        // overlong form of "/"
  };
  for (const Case& c : cases) {
    EXPECT_EQ(multibyte_to_wide(c.in, kCodePageUtf8), c.out) << c.in;
  }
}

TEST(CodePage, CharacterWithoutGbkFormBecomesQuestionMark) {
  EXPECT_EQ(wide_to_multibyte(u"a\uFFFDb", kCodePageGbk), "a?b");
  EXPECT_EQ(wide_to_multibyte(u"\U0001F600x", kCodePageGbk), "?x");  // one per character
  EXPECT_EQ(wide_to_multibyte(u"\xD800x", kCodePageGbk), "?x");      // unpaired surrogate
  EXPECT_EQ(wide_to_multibyte(u"\u20AC", kCodePageGbk), "\x80");     // euro sign of 936
}

TEST(CodePage, CompositeCheckPrecomposes) {
  std::u16string decomposed = u"e\u0301";  // e + combining acute
  EXPECT_EQ(wide_to_multibyte(decomposed, kCodePageGbk, {.composite_check = true}), "\xA8\xA6");
  EXPECT_EQ(wide_to_multibyte(decomposed, kCodePageGbk), "e?");
  // Only marks are composed: a compatibility ideograph GBK has under its own
  // code keeps that code.
  EXPECT_EQ(wide_to_multibyte(u"\uF92C", kCodePageGbk, {.composite_check = true}), "\xFD\x9C");
}

// ASCII takes a short way round iconv; it must give what iconv gives, and one
// byte or unit beyond ASCII anywhere must send the whole text through iconv.
TEST(CodePage, AsciiConvertsToItselfAndOneOtherCharacterStillConverts) {
  std::string bytes;
  std::u16string units;
  for (int c = 0; c < 0x80; ++c) {
    bytes.push_back(static_cast<char>(c));
    units.push_back(static_cast<char16_t>(c));
  }
  for (int code_page : {kCodePageGbk, kCodePageUtf8}) {
    EXPECT_EQ(multibyte_to_wide(bytes, code_page), units) << code_page;
    EXPECT_EQ(wide_to_multibyte(units, code_page), bytes) << code_page;
    EXPECT_EQ(wide_to_multibyte(units, code_page, {.composite_check = true}), bytes) << code_page;
  }
  EXPECT_EQ(multibyte_to_wide(bytes + "\x80", kCodePageGbk), units + u"\u20AC");
  EXPECT_EQ(multibyte_to_wide(bytes + "\x80", kCodePageUtf8), units + u"\uFFFD");
  EXPECT_EQ(wide_to_multibyte(u"e\u0301" + units, kCodePageGbk, {.composite_check = true}),
            "\xA8\xA6" + bytes);
  EXPECT_EQ(wide_to_multibyte(units + u"\u00E9", kCodePageUtf8), bytes + "\xC3\xA9");
}

}  // namespace
}  // namespace platform
