#include "http/text_parts.h"

#include <gtest/gtest.h>

#include "http/item_lists.h"
#include "text/text_search.h"

namespace {

// 基 is B0 A1 (its second byte equals the first byte of the full-width
// space); 金 is BD F0.
const Text kJi = "\xBB\xF9";
const Text kFullWidthSpace = "\xA1\xA1";

TEST(TextParts, BeforeAndAfterWithEveryStartMode) {
  struct Case {
    Text text, separator;
    TextPartOptions options;
    Text before, after;
  } cases[] = {
      {"a=1; b=2; c=3", "; ", {}, "a=1", "c=3"},
      {"a=1; b=2; c=3", "; ", {.start = 5}, "a=1; b=2", "c=3"},
      // Negative before: backwards, ending 5 bytes before the end.
      {"a=1; b=2; c=3", "; ", {.start = -5}, "a=1", "c=3"},
      {"a=1; b=2; c=3", "; ", {.start = 6}, "a=1; b=2", "b=2; c=3"},
      {"a=1; b=2; c=3", "; ", {.start = -6}, "a=1", "b=2; c=3"},
      {"Set-Cookie: a", "set-cookie: ", {.ignore_case = true}, "", "a"},
      {"Set-Cookie: a", "set-cookie: ", {}, "", ""},
      {"abc", "x", {}, "", ""},
      {"abc", "", {}, "", ""},
      {"", ";", {}, "", ""},
      {"abc", "c", {.start = 99}, "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(text_before(c.text, c.separator, c.options), c.before)
        << c.text << " / " << c.separator << " start " << c.options.start;
  }
  // text_after reads its start the other way round.
  EXPECT_EQ(text_after("a=1; b=2; c=3", "; "), "c=3");
  EXPECT_EQ(text_after("a=1; b=2; c=3", "; ", {.start = 5}), "b=2; c=3");
  EXPECT_EQ(text_after("a=1; b=2; c=3", "; ", {.start = -6}), "c=3");
  EXPECT_EQ(text_after("a=1; b=2; c=3", "; ", {.start = -2}), "b=2; c=3");
  EXPECT_EQ(text_after("abc", "x"), "");
}

TEST(TextParts, SearchesNeverStartInsideADoubleByteCharacter) {
  // "\xBB\xF9" + "\xF9\x41": a search for F9 41 must not match bytes 2-3.
  Text text = kJi + "A";
  EXPECT_EQ(find_text(text,
                      "\xF9"
                      "A"),
            kNotFound);
  EXPECT_EQ(find_text(text, "A"), 2u);
  // Case folding leaves second bytes alone: 0x61 ('a') in a character does
  // not match 'A'.
  Text with_trail_a = "\x81\x61";
  EXPECT_EQ(find_text(with_trail_a, "\x81\x41", 0, {.ignore_case = true}), kNotFound);
  EXPECT_EQ(text_before("x" + kJi + ";y", ";"), "x" + kJi);
}

TEST(TextParts, FindsFirstAndLastMatchesWhateverTheCaseOfTheirFirstLetter) {
  struct Case {
    Text text, needle;
    bool ignore_case;
    std::size_t first, last;
  } cases[] = {
      {"Set-Cookie: a\r\nCOOKIE: b", "cookie:", true, 4, 15},
      {"cookie: a; Cookie: b", "COOKIE:", true, 0, 11},
      {"cookie: a; Cookie: b", "Cookie:", false, 11, 11},
      {"cookie: a", "Cookie:", false, kNotFound, kNotFound},
      {"x" + kJi + "y" + kJi, kJi, true, 1, 4},
      {"x" + kJi + "y" + kJi, kJi + "Y", true, 1, 1},
  };
  for (const Case& c : cases) {
    TextSearchOptions options{.ignore_case = c.ignore_case};
    EXPECT_EQ(find_text(c.text, c.needle, 0, options), c.first) << c.text;
    EXPECT_EQ(find_last_text(c.text, c.needle, c.text.size(), options), c.last) << c.text;
  }
  EXPECT_EQ(find_text("ab AB ab", "AB", 1, {.ignore_case = true}), 3u);
}

// The search steps over runs of single-byte characters several bytes at a
// time. Compare it with the plain walk, one character at a time, on texts
// mixing letters of both cases, separators and double-byte characters at
// every alignment.
std::size_t walked_find(const Text& text, const Text& needle, std::size_t from, bool ignore_case) {
  auto same = [&](unsigned char a, unsigned char b) {
    if (ignore_case && a >= 'A' && a <= 'Z') a += 32;
    if (ignore_case && b >= 'A' && b <= 'Z') b += 32;
    return a == b;
  };
  for (std::size_t i = 0; i + needle.size() <= text.size(); i += character_length(text, i)) {
    if (i < from) continue;
    bool match = true;
    for (std::size_t k = 0; k < needle.size() && match; k += character_length(needle, k)) {
      match = character_length(needle, k) == 1 ? same(text[i + k], needle[k])
                                               : text.compare(i + k, 2, needle, k, 2) == 0;
    }
    if (match) return i;
  }
  return kNotFound;
}

TEST(TextParts, FindsWhatACharacterByCharacterWalkFinds) {
  const char alphabet[] = {'a', 'A', 'c', 'C', ':', ' ',    '\r',   '\n',   '-',
                           'x', 'y', 'z', '0', '1', '\x80', '\x81', '\xBB', '\xF9'};
  const Text needles[] = {"a",
                          "A",
                          "c:",
                          "Ca",
                          "\r\n",
                          ": ",
                          "\x81"
                          "a",
                          kJi,
                          "\xF9"
                          "a",
                          "\x80",
                          "\x81"};
  std::uint32_t seed = 12345;
  auto next = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
  for (int round = 0; round < 2000; ++round) {
    Text text;
    for (std::size_t length = next() % 64; length > 0; --length) {
      text.push_back(alphabet[next() % sizeof alphabet]);
    }
    for (const Text& needle : needles) {
      std::size_t from = next() % (text.size() + 2);
      for (bool ignore_case : {false, true}) {
        ASSERT_EQ(find_text(text, needle, from, {.ignore_case = ignore_case}),
                  walked_find(text, needle, from, ignore_case))
            << testing::PrintToString(text) << " " << testing::PrintToString(needle) << " from "
            << from << (ignore_case ? " ignoring case" : "");
      }
    }
    std::vector<Text> walked_items;
    std::size_t start = 0;
    for (std::size_t at; (at = walked_find(text, "\r\n", start, false)) != kNotFound;
         start = at + 2) {
      walked_items.push_back(text.substr(start, at - start));
    }
    if (start < text.size()) walked_items.push_back(text.substr(start));
    ASSERT_EQ(split_text(text, "\r\n"), walked_items) << testing::PrintToString(text);
  }
}

TEST(TextParts, TrimsAsciiAndFullWidthSpacesOnly) {
  struct Case {
    Text in, out;
  } cases[] = {
      {"  a=1  ", "a=1"},
      {kFullWidthSpace + " a " + kFullWidthSpace, "a"},
      {"\ta\r\n", "\ta\r\n"},
      {"   ", ""},
      {"", ""},
      // B0 A1 A1: the A1 A1 here is no full-width space.
      {"\xB0\xA1\xA1", "\xB0\xA1\xA1"},
      {"\xB0\xA1" + kFullWidthSpace, "\xB0\xA1"},
  };
  for (const Case& c : cases) EXPECT_EQ(trim_spaces(c.in), c.out) << c.in;
}

TEST(ItemLists, SplitsCharactersFindsAndDropsRepeats) {
  std::vector<Text> items{"stale"};
  // A lone CR is one item; a high byte at the very end is one item too.
  EXPECT_EQ(split_characters("a" + kJi + "\r\nb\r\xC1", items), 6);
  EXPECT_EQ(items, (std::vector<Text>{"a", kJi, "\r\n", "b", "\r", "\xC1"}));
  EXPECT_EQ(item_index(items, "b"), 4);
  EXPECT_EQ(item_index(items, "z"), -1);
  EXPECT_EQ(split_characters("", items), 0);
  EXPECT_TRUE(items.empty());

  EXPECT_EQ(unique_items("a=1; b=2; a=1; c; b=2", "; ", ItemSplit::kAtSeparator), "a=1; b=2; c");
  EXPECT_EQ(unique_items("a; ; b; ; ", "; ", ItemSplit::kAtSeparator), "a; ; b");
  EXPECT_EQ(unique_items("", "; ", ItemSplit::kAtSeparator), "");
  EXPECT_EQ(unique_items("abca" + kJi + kJi, ",", ItemSplit::kIntoCharacters), "a,b,c," + kJi);
}

TEST(ItemLists, SplitKeepsInnerEmptyItemsButNoEmptyLastOne) {
  EXPECT_EQ(split_text("a; b; ", "; "), (std::vector<Text>{"a", "b"}));
  EXPECT_EQ(split_text("a; ; b", "; "), (std::vector<Text>{"a", "", "b"}));
  EXPECT_EQ(split_text("", "; "), std::vector<Text>{});
  EXPECT_EQ(split_text("A\r\n\r\n", "\r\n"), (std::vector<Text>{"A", ""}));
  // 81 0D is one character, so the CR LF after it is no separator.
  EXPECT_EQ(split_text("a\r\n\x81\r\nb\r\nc", "\r\n"), (std::vector<Text>{"a", "\x81\r\nb", "c"}));
}

}  // namespace
