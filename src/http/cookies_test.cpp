#include "http/cookies.h"

#include <gtest/gtest.h>

namespace {

TEST(Cookies, CollectsSetCookieLinesOnly) {
  Text cookies = "old=0; ";
  for (const Text& line :
       {Text("Set-Cookie: a=2; path=/; HttpOnly"), Text("Set-Cookie: b=3"), Text("set-cookie: c=4"),
        Text("Set-Cookie:d=5"), Text("X-Set-Cookie: e=6"), Text("Content-Type: text/html")}) {
    collect_set_cookie(line, cookies);
  }
  EXPECT_EQ(cookies, "old=0; a=2; b=3; ");
}

TEST(Cookies, MergesNewOverOldAndDropsDeleted) {
  struct Case {
    Text old_cookies, new_cookies, merged;
  } cases[] = {
      {"a=1; c=5", "a=2; b=deleted", "a=2; c=5"},
      {"a=1;", "a=1", "a=1"},
      {"x=1", "", "x=1"},
      {"", "a=1; a=1", "a=1"},
      {"  a=1  ", " b=2; ", "b=2; a=1"},
      {"a=deleted", "", ""},
      {"a=1; b=2", "a=deleted", "b=2"},
      {"a=1", "b", "b; a=1"},
  };
  for (const Case& c : cases) {
    Text old_cookies = c.old_cookies, new_cookies = c.new_cookies;
    EXPECT_EQ(merge_cookies(old_cookies, new_cookies), c.merged)
        << c.old_cookies << " + " << c.new_cookies;
    EXPECT_EQ(old_cookies, c.merged);
  }
}

TEST(Cookies, NamesAreTrimmedAndComparedExactly) {
  EXPECT_EQ(cookie_name(" sid =abc=def"), "sid");
  EXPECT_EQ(cookie_name("flag"), "flag");
  std::vector<Text> items{"a=1", " B=2"};
  EXPECT_TRUE(has_cookie_named(items, "B"));
  EXPECT_FALSE(has_cookie_named(items, "b"));
}

}  // namespace
