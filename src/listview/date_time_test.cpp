#include "listview/date_time.h"

#include <gtest/gtest.h>

#include "text/gbk_literal.h"

namespace {

constexpr double kMinute = 1.0 / 1440;

TEST(DateTime, SeparatorsAndUnitCharacters) {
  // 2026-12-11 is day 46367 after 30 December 1899.
  const double day = 46367;
  struct Case {
    Text text;
    double value;
  } cases[] = {
      {"2026-12-11", day},
      {"2026.12.11", day},
      {"2026/12/11", day},
      {"2026:12:11", day},
      {gbk("2026年12月11日"), day},
      {"20261211", day},
      {"2026-12-11 14:30", day + 870 * kMinute},
      {"2026-12-11 14:30:15", day + 870 * kMinute + 15.0 / 86400},
      {gbk("2026年12月11日14时30分15秒"), day + 870 * kMinute + 15.0 / 86400},
      {gbk("2026年12月11日 14时30分"), day + 870 * kMinute},
      {"2026-12-11-14-30", day + 870 * kMinute},
      {"2026/12/11 14.30", day + 870 * kMinute},
      {"2026-1-5", 46027},
      {"1899-12-30", 0},
  };
  for (const Case& c : cases) EXPECT_NEAR(text_to_date_time(c.text), c.value, 1e-9) << c.text;
}

TEST(DateTime, InvalidTextsGiveFirstOfJanuaryOfYear100) {
  for (const Text text : {"", "abc", "2026-13-01", "2026-02-29", "2026-12-32", "2026-12-11 24:00",
                          "2026-12-11 10:60", "2026-12", "2026-12-11x", "99-01-01"}) {
    EXPECT_EQ(text_to_date_time(text), -657434) << text;
  }
  EXPECT_NEAR(text_to_date_time("2024-02-29"), 45351, 1e-9);  // leap day
}

TEST(DateTime, SortKeyOrdersDaysBeforeTheEpochByTimeOfDay) {
  // 29 December 1899, 06:00 is -1.25 as an automation date, but sorts after
  // 29 December 1899, 00:00 and before 30 December 1899.
  EXPECT_NEAR(text_to_date_time("1899-12-29 06:00"), -1.25, 1e-9);
  EXPECT_NEAR(date_time_sort_key("1899-12-29 06:00"), -0.75, 1e-9);
  EXPECT_LT(date_time_sort_key("1899-12-29"), date_time_sort_key("1899-12-29 06:00"));
  EXPECT_LT(date_time_sort_key("1899-12-29 06:00"), date_time_sort_key("1899-12-30"));
  EXPECT_EQ(date_time_sort_key("not a date"), -657434);
  EXPECT_EQ(date_time_sort_key("9999-12-31 23:59"), 2958465);  // clamped
}

}  // namespace
