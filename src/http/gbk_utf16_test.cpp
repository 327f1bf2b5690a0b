#include "http/gbk_utf16.h"

#include <gtest/gtest.h>

namespace {

TEST(GbkUtf16, TextBecomesLittleEndianUnitsWithOrWithoutTheZeroUnit) {
  EXPECT_EQ(gbk_to_utf16("GET"), Bytes("G\0E\0T\0\0\0", 8));
  EXPECT_EQ(gbk_to_utf16("GET", ZeroUnit::kDrop), Bytes("G\0E\0T\0", 6));
  EXPECT_EQ(gbk_to_utf16(""), Bytes());
  EXPECT_EQ(gbk_to_utf16("\xBB\xF9"), Bytes("\xFA\x57\0\0", 4));  // 基 U+57FA
  // GBK text ends at its first zero byte.
  EXPECT_EQ(gbk_to_utf16(Text("ab\0cd", 5)), Bytes("a\0b\0\0\0", 6));
}

TEST(GbkUtf16, UnitsBecomeGbkUpToTheFirstZeroUnit) {
  EXPECT_EQ(utf16_to_gbk(Bytes("a\0b\0\0\0c\0", 8)), "ab");
  EXPECT_EQ(utf16_to_gbk(Bytes("\xFA\x57\xD1\x91", 4)), "\xBB\xF9\xBD\xF0");
  EXPECT_EQ(utf16_to_gbk(Bytes("a\0b", 3)), "a");  // odd last byte ignored
  EXPECT_EQ(utf16_to_gbk(Bytes()), "");
  // e + combining acute is converted as the precomposed e acute (GBK A8 A6).
  EXPECT_EQ(utf16_to_gbk(Bytes("e\0\x01\x03", 4)), "\xA8\xA6");
  // A character GBK lacks becomes "?".
  EXPECT_EQ(utf16_to_gbk(Bytes("\x3D\xD8\x00\xDE", 4)), "?");
  EXPECT_EQ(utf16_to_gbk(gbk_to_utf16("\xBB\xF9\xBD\xF0 fund")), "\xBB\xF9\xBD\xF0 fund");
}

}  // namespace
