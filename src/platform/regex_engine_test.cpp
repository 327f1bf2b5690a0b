#include "platform/regex_engine.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <gtest/gtest.h>
#include <pcre2.h>

namespace platform {
namespace {

struct Settings {
  bool ignore_case = false;
  bool multiline = false;
  bool global = false;
};

std::unique_ptr<RegexEngine> engine_for(std::u16string pattern, Settings settings) {
  auto engine = std::make_unique<RegexEngine>();
  engine->set_ignore_case(settings.ignore_case);
  engine->set_multiline(settings.multiline);
  engine->set_global(settings.global);
  engine->set_pattern(std::move(pattern));
  return engine;
}

std::vector<std::u16string> values(const RegexMatchCollection& matches) {
  std::vector<std::u16string> out;
  for (const RegexMatch& match : matches.items) out.push_back(match.value);
  return out;
}

TEST(RegexEngine, LibraryCodesMapToOurErrors) {
  struct Case {
    int code;
    RegexError error;
  } cases[] = {
      {0, RegexError::kNone},
      {PCRE2_ERROR_MATCHLIMIT, RegexError::kLimitReached},
      {PCRE2_ERROR_DEPTHLIMIT, RegexError::kLimitReached},
      {PCRE2_ERROR_HEAPLIMIT, RegexError::kLimitReached},
      {PCRE2_ERROR_NOMEMORY, RegexError::kNoMemory},
      {PCRE2_ERROR_HEAP_FAILED, RegexError::kNoMemory},
      {PCRE2_ERROR_MISSING_CLOSING_PARENTHESIS, RegexError::kSyntax},
      {PCRE2_ERROR_QUANTIFIER_INVALID, RegexError::kSyntax},
      {PCRE2_ERROR_BADOFFSET, RegexError::kOther},
      {PCRE2_ERROR_UTF16_ERR1, RegexError::kOther},
  };
  for (const Case& c : cases) EXPECT_EQ(regex_error_from_library_code(c.code), c.error) << c.code;
}

TEST(RegexEngine, SettingsAndConstructs) {
  struct Case {
    std::u16string pattern;
    Settings settings;
    std::u16string subject;
    std::vector<std::u16string> expected;
  } cases[] = {
      // "\w" is ASCII only; letters of other scripts are not word characters.
      {u"\\w+", {.global = true}, u"ab\u57FA\u91D1_9", {u"ab", u"_9"}},
      {u"[^\\w]", {.global = true}, u"a\u57FAb", {u"\u57FA"}},
      // "." stops at a line feed, but not at a carriage return.
      {u"a.+", {.global = true}, u"a1\r2\na3", {u"a1\r2", u"a3"}},
      // "^" and "$" per line only with multi-line on.
      {u"^\\w$", {.global = true}, u"a\nb", {}},
      {u"^\\w$", {.multiline = true, .global = true}, u"a\nb", {u"a", u"b"}},
      // Without multi-line "$" is the very end, not the place before a final LF.
      {u"a$", {}, u"a\n", {}},
      {u"A", {.global = true}, u"aAa", {u"A"}},
      {u"A", {.ignore_case = true, .global = true}, u"aAa", {u"a", u"A", u"a"}},
      {u"a", {}, u"aaa", {u"a"}},  // the first match only unless global
      // Empty matches move on one character, a surrogate pair counting as one.
      {u"x*", {.global = true}, u"\U0001F600x", {u"", u"x", u""}},
      {u"<meta.+?charset=[^\\w]?([-\\w]+)",
       {.ignore_case = true, .multiline = true, .global = true},
       u"<META content=\"text/html; CHARSET=UTF-8\">",
       {u"<META content=\"text/html; CHARSET=UTF-8"}},
  };
  for (const Case& c : cases) {
    auto engine = engine_for(c.pattern, c.settings);
    std::optional<RegexMatchCollection> matches = engine->execute(c.subject);
    ASSERT_TRUE(matches.has_value());
    EXPECT_EQ(values(*matches), c.expected);
    EXPECT_EQ(engine->last_error(), RegexError::kNone);
  }
}

TEST(RegexEngine, MatchesCarryPositionAndGroups) {
  auto engine = engine_for(u"(a)|(b)", {.global = true});
  std::optional<RegexMatchCollection> matches = engine->execute(u"xab");
  ASSERT_TRUE(matches.has_value());
  ASSERT_EQ(matches->count(), 2);
  EXPECT_EQ(matches->item(1)->first_index, 2u);
  ASSERT_EQ(matches->item(1)->sub_matches.size(), 2u);
  EXPECT_FALSE(matches->item(1)->sub_matches[0].has_value());  // took no part
  EXPECT_EQ(matches->item(1)->sub_matches[1], u"b");
  EXPECT_EQ(matches->item(2), nullptr);
  EXPECT_EQ(matches->item(-1), nullptr);
}

TEST(RegexEngine, RejectedPatternAndRunawayMatchFail) {
  auto engine = engine_for(u"(ab", {});
  EXPECT_FALSE(engine->execute(u"ab").has_value());
  EXPECT_EQ(engine->last_error(), RegexError::kSyntax);
  EXPECT_FALSE(engine->replace(u"ab", u"x").has_value());

  // Nested repetition over a subject that almost matches backtracks without end.
  engine = engine_for(u"(\\w+\\s?)+$", {});
  std::u16string hostile(200, u'a');
  hostile += u"!";
  EXPECT_FALSE(engine->execute(hostile).has_value());
  EXPECT_EQ(engine->last_error(), RegexError::kLimitReached);

  // The engine is usable again once the pattern is sound.
  engine->set_pattern(u"a+!");
  EXPECT_TRUE(engine->execute(hostile).has_value());
  EXPECT_EQ(engine->last_error(), RegexError::kNone);
}

TEST(RegexEngine, ReplaceExpandsDollarForms) {
  struct Case {
    std::u16string pattern;
    Settings settings;
    std::u16string replacement;
    std::u16string expected;
  } cases[] = {
      {u"(\\d)(\\d)", {.global = true}, u"$2$1", u"a21b43c"},
      {u"(\\d)(\\d)", {}, u"$2$1", u"a21b34c"},  // first match only
      {u"\\d+", {.global = true}, u"<$&>", u"a<12>b<34>c"},
      {u"b", {}, u"[$`|$']", u"a12[a12|34c]34c"},
      {u"b", {}, u"$$1$", u"a12$1$34c"},
      {u"(\\d)", {}, u"$0$3$10", u"a$0$3102b34c"},  // no group 0 or 3; $10 is $1 then 0
      {u"(1)|(x)", {}, u"[$2]", u"a[]2b34c"},       // group without part is empty
      {u"\\d", {.global = true}, u"", u"abc"},      // empty replacement removes
      {u"z", {.global = true}, u"-", u"a12b34c"},   // no match: unchanged
      {u"", {.global = true}, u"-", u"-a-1-2-b-3-4-c-"},
  };
  for (const Case& c : cases) {
    auto engine = engine_for(c.pattern, c.settings);
    EXPECT_EQ(engine->replace(u"a12b34c", c.replacement), c.expected) << c.replacement.size();
  }
}

}  // namespace
}  // namespace platform
