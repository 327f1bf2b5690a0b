#include "text/markers.h"

#include <gtest/gtest.h>

#include "text/gbk_literal.h"

namespace {

using List = std::vector<Text>;

TEST(TextBetween, CutsFirstValueOrGivesEmptyText) {
  struct Case {
    Text text, left, right;
    TextBetweenOptions options;
    Text expected;
  } cases[] = {
      {"x[12]y[34]z", "[", "]", {}, "12"},
      {"x[12]y[34]z", "[", "]", {.start = 3}, "34"},  // starts after the first "["
      {"x[12]y[34]z", "[", "]", {.start = -4}, "12"},
      {"x[12]y[34]z", "[", "]", {.start = 12}, ""},  // beyond the end
      {"x[12]y[34]z", "[", ">", {}, ""},             // no right marker
      {"x[12]y[34]z", "<", "]", {}, ""},             // no left marker
      {"x[]y", "[", "]", {}, ""},                    // markers touch
      {"x]1[2]", "[", "]", {}, "2"},                 // right marker searched after the left
      {"abc", "", "c", {}, "ab"},                    // empty marker found at the start
      {"", "", "", {}, ""},
      {"a<B>1</b>", "<b>", "</B>", {}, ""},
      {"a<B>1</b>", "<b>", "</B>", {.ignore_case = true}, "1"},
      {Text("[1]\0[2]", 7), "[", "]", {.start = 4}, ""},  // text ends at its zero byte
  };
  for (const Case& c : cases) {
    EXPECT_EQ(text_between(c.text, c.left, c.right, c.options), c.expected)
        << c.text << " start " << c.options.start;
  }
}

TEST(TextBetween, MarkerNeverMatchesOnSecondByteOfDoubleByteCharacter) {
  // "\xB0\x5B" is one GBK character whose second byte is "[": the only real
  // "[" is the one after it.
  Text text = "\xB0[a]b[c]";
  EXPECT_EQ(text_between(text, "[", "]"), "c");
  // The same for the right marker and with ignore case on.
  EXPECT_EQ(text_between("<\xB0]x]", "<", "]"), "\xB0]x");
  EXPECT_EQ(text_between("<\xB0]x]", "<", "]", {.ignore_case = true}), "\xB0]x");
  // A trail byte that looks like an ASCII letter is compared exactly: "\xC4\x41"
  // and "\xC4\x61" are different characters.
  EXPECT_EQ(text_between("\xC4\x61=1;", "\xC4\x41=", ";", {.ignore_case = true}), "");
  EXPECT_EQ(text_between("\xC4\x41=1;", "\xC4\x41=", ";", {.ignore_case = true}), "1");
}

TEST(TextBetween, QuotePlaceholderStandsForDoubleQuote) {
  Text reply = "{\"name\":\"abc\",\"id\":\"007\"}";
  Text placeholder = gbk("#引号");
  EXPECT_EQ(text_between(reply, placeholder + "id" + placeholder + ":" + placeholder, placeholder),
            "007");
  EXPECT_EQ(text_between(reply, "\"id\":\"", "\""), "007");
  // Only the whole placeholder is replaced.
  EXPECT_EQ(text_between("#1\"", "#", "\""), "1");
}

TEST(AllTextsBetween, CollectsEveryValueWithAffixes) {
  struct Case {
    Text text, left, right;
    AllTextsBetweenOptions options;
    List expected;
  } cases[] = {
      {"x[12]y[34]z", "[", "]", {}, {"12", "34"}},
      {"x[12]y[34]z", "[", "]", {.suffix = "%"}, {"12%", "34%"}},
      {"x[12]y[34]z", "[", "]", {.prefix = "+", .suffix = "%"}, {"+12%", "+34%"}},
      {"x[12]y[34]z", "[", "]", {.include_left = true, .include_right = true}, {"[12]", "[34]"}},
      {"x[12]y[34]z",
       "[",
       "]",
       {.prefix = "<", .include_left = true, .include_right = true},
       {"[<12]", "[<34]"}},
      {"x[12]y[34]z", "[", "]", {.start = 3}, {"34"}},
      {"x[1]y[3", "[", "]", {}, {"1"}},       // stops at a left marker without right
      {"[x[y]", "[", "]", {}, {"x[y", "y"}},  // values overlap
      {"<A>1</a><a>2</A>", "<a>", "</a>", {.ignore_case = true}, {"1", "2"}},
      {"<A>1</a><a>2</A>", "<a>", "</a>", {}, {}},
      {"\xB0[[a]", "[", "]", {}, {"a"}},  // the first "[" is a second byte
      {"", "[", "]", {}, {}},
      {"x[12]", "", "]", {}, {}},  // empty left marker
  };
  for (const Case& c : cases) {
    List results;
    EXPECT_EQ(all_texts_between(c.text, c.left, c.right, results, c.options),
              static_cast<int>(c.expected.size()))
        << c.text;
    EXPECT_EQ(results, c.expected) << c.text;
  }
}

TEST(AllTextsBetween, MaximumLengthCountsTheWholeItem) {
  struct Case {
    AllTextsBetweenOptions options;
    List expected;
  } cases[] = {
      {{.max_length = 3}, {"12", "34"}},
      {{.max_length = 2}, {}},  // an item of exactly the maximum length is dropped
      {{.max_length = 3, .suffix = "%"}, {}},
      {{.max_length = 4, .suffix = "%"}, {"12%", "34%"}},
      {{.max_length = 4, .include_left = true, .include_right = true}, {}},
      {{.max_length = 0, .suffix = "%"}, {"12%", "34%"}},
  };
  for (const Case& c : cases) {
    List results;
    EXPECT_EQ(all_texts_between("x[12]y[34]z", "[", "]", results, c.options),
              static_cast<int>(c.expected.size()));
    EXPECT_EQ(results, c.expected) << c.options.max_length;
  }
}

TEST(AllTextsBetween, EmptiesTheListAndKeepsPlaceholderLiteral) {
  List results = {"old", "entries"};
  EXPECT_EQ(all_texts_between("", "[", "]", results), 0);
  EXPECT_TRUE(results.empty());

  Text placeholder = gbk("#引号");
  results = {"old"};
  Text text = "\"a\"b" + placeholder + "c" + placeholder;
  EXPECT_EQ(all_texts_between(text, placeholder, placeholder, results), 1);
  EXPECT_EQ(results, List({"c"}));
}

TEST(AllTextsBetween, ProcessesEventsAfterEachValueFound) {
  List results;
  std::vector<size_t> sizes_seen;
  auto record = [&] { sizes_seen.push_back(results.size()); };
  // The second value is dropped by the maximum length, the third has no
  // right marker: events run after the first two only.
  all_texts_between("[1][234][5", "[", "]", results, {.max_length = 2, .process_events = record});
  EXPECT_EQ(results, List({"1"}));
  EXPECT_EQ(sizes_seen, std::vector<size_t>({1, 1}));
}

}  // namespace
