#include "text/gbk_literal.h"

#include <gtest/gtest.h>

namespace {

TEST(GbkLiteral, ProgramTextsAreGbkBytes) {
  struct Case {
    const char* utf8;
    const char* gbk_bytes;
  } cases[] = {
      {"基金代码有误！", "\xBB\xF9\xBD\xF0\xB4\xFA\xC2\xEB\xD3\xD0\xCE\xF3\xA3\xA1"},
      {"刷新", "\xCB\xA2\xD0\xC2"},
      {"规模:", "\xB9\xE6\xC4\xA3:"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(gbk(c.utf8), c.gbk_bytes) << c.utf8;
}

}  // namespace
