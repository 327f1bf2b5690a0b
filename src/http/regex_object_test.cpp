#include "http/regex_object.h"

#include <gtest/gtest.h>

#include "platform/component_library.h"
#include "text/gbk_literal.h"

namespace {

const Text kCharsetPattern = "<meta.+?charset=[^\\w]?([-\\w]+)";

// Every text operation of an object that holds no matches.
void expect_empty(const RegexObject& regex) {
  EXPECT_EQ(regex.pattern_text(), "");
  EXPECT_EQ(regex.replace_matches("x"), "");
  EXPECT_EQ(regex.match_count(), 0);
  EXPECT_EQ(regex.match_text(1), "");
  EXPECT_EQ(regex.submatch_text(1, 1), "");
  EXPECT_EQ(regex.submatch_count(), 0);
}

TEST(RegexObject, CharsetPatternFindsTheDeclaredName) {
  struct Case {
    Text head;
    Text charset;
  } cases[] = {
      {"<html><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; CHARSET=UTF-8\">", "UTF-8"},
      {"<head>\n<meta charset=\"gb2312\" />", "gb2312"},
      {"<meta http-equiv=Content-Type content=text/html;charset=gbk>", "gbk"},
      {"<meta name=\"x\">\n<p>charset=big5</p>", ""},  // "." does not cross the line
      {"var x = {\"charset\":\"utf-8\"};", ""},
  };
  for (const Case& c : cases) {
    RegexObject regex;
    EXPECT_TRUE(regex.search(kCharsetPattern, c.head)) << c.head;
    EXPECT_EQ(regex.submatch_text(1, 1), c.charset) << c.head;
    EXPECT_EQ(regex.match_count(), c.charset.empty() ? 0 : 1);
  }
}

TEST(RegexObject, EmptyBeforeSearchAndAfterRejectedPattern) {
  RegexObject regex;
  expect_empty(regex);
  EXPECT_FALSE(regex.search("(ab", "ab"));
  expect_empty(regex);
  // A good search, then a rejected one, leaves nothing of the first.
  EXPECT_TRUE(regex.search("(a)", "a"));
  EXPECT_FALSE(regex.search("a{2,1}", "aa"));
  expect_empty(regex);
}

TEST(RegexObject, PatternMatchingNowhere) {
  RegexObject regex;
  EXPECT_TRUE(regex.search("(z+)", "abc"));
  EXPECT_EQ(regex.match_count(), 0);
  EXPECT_EQ(regex.submatch_text(1, 1), "");
  EXPECT_EQ(regex.submatch_count(), 0);
  EXPECT_EQ(regex.pattern_text(), "(z+)");
  EXPECT_EQ(regex.replace_matches("-"), "abc");
}

TEST(RegexObject, MatchesGroupsAndReplacementOverGbkText) {
  Text subject = gbk("基金A=1.5%;基金B=-0.2%;");
  RegexObject regex;
  ASSERT_TRUE(regex.search(gbk("(基金\\w)=([-\\d.]+)(x)?"), subject));
  EXPECT_EQ(regex.match_count(), 2);
  EXPECT_EQ(regex.match_text(2), gbk("基金B=-0.2"));
  EXPECT_EQ(regex.submatch_text(1, 1), gbk("基金A"));
  EXPECT_EQ(regex.submatch_text(2, 2), "-0.2");
  EXPECT_EQ(regex.submatch_count(), 3);
  EXPECT_EQ(regex.submatch_text(1, 3), "");  // took no part
  EXPECT_EQ(regex.submatch_text(1, 4), "");  // no such group
  EXPECT_EQ(regex.submatch_text(1, 0), "");
  EXPECT_EQ(regex.submatch_text(3, 1), "");  // no such match
  EXPECT_EQ(regex.match_text(0), "");
  EXPECT_EQ(regex.match_text(3), "");
  EXPECT_EQ(regex.replace_matches(""), "%;%;");  // the empty text removes every match
  EXPECT_EQ(regex.replace_matches("$2"), "1.5%;-0.2%;");
  EXPECT_EQ(regex.match_count(), 2);  // replacing leaves the matches as they were
}

TEST(RegexObject, SearchOptions) {
  struct Case {
    Text pattern;
    RegexObject::SearchOptions options;
    int count;
  } cases[] = {
      {"^a", {}, 2},
      {"^a", {.multi_line = false}, 1},
      {"^a", {.global_match = false}, 1},
      {"A", {}, 3},
      {"A", {.case_sensitive = true}, 1},
      {"a\"", {}, 1},
      {gbk("a#引号"), {.quote_placeholder = true}, 1},
      {gbk("a#引号"), {}, 0},
  };
  for (const Case& c : cases) {
    RegexObject regex;
    EXPECT_TRUE(regex.search(c.pattern, "aA\"\na", c.options)) << c.pattern;
    EXPECT_EQ(regex.match_count(), c.count) << c.pattern;
  }
  RegexObject regex;
  regex.search(gbk("#引号(\\w+)#引号"), "say \"hi\"", {.quote_placeholder = true});
  EXPECT_EQ(regex.pattern_text(), "\"(\\w+)\"");
  EXPECT_EQ(regex.submatch_text(1, 1), "hi");
}

TEST(RegexObject, RunawayPatternEndsInFalse) {
  RegexObject regex;
  EXPECT_FALSE(regex.search("(\\w+\\s?)+$", Text(500, 'a') + "!"));
  expect_empty(regex);
}

TEST(RegexObject, EachObjectInitialisesAndReleasesOnce) {
  platform::ComponentLibraryCounts before = platform::component_library_counts();
  {
    RegexObject first;
    RegexObject second;
    first.search(kCharsetPattern, "<meta charset=utf-8>");
    first.search("(", "");
    platform::ComponentLibraryCounts during = platform::component_library_counts();
    EXPECT_EQ(during.initialised - before.initialised, 2);
    EXPECT_EQ(during.released - before.released, 0);
  }
  platform::ComponentLibraryCounts after = platform::component_library_counts();
  EXPECT_EQ(after.initialised - before.initialised, 2);
  EXPECT_EQ(after.released - before.released, 2);
}

}  // namespace
