// The pure rules of the fund rows: the estimate URL and the refresh period.
#include "app/fund_rows.h"

#include <gtest/gtest.h>

#include <limits>

#include "funddata/fund_estimate.h"
#include "text/gbk_literal.h"

namespace {

TEST(EstimateUrl, CodeGoesInUnescapedWithTheConstantRt) {
  EXPECT_EQ(estimate_url("http://h:8", "990001"), "http://h:8/js/990001.js?rt=0305457217284");
  EXPECT_EQ(estimate_url("http://h", "a b%2F"), "http://h/js/a b%2F.js?rt=0305457217284");
}

TEST(RefreshPeriod, SecondsTextToMilliseconds) {
  constexpr int kMax = std::numeric_limits<int>::max();
  constexpr int kMin = std::numeric_limits<int>::min();
  struct Case {
    Text text;
    int ms;
  };
  const Case cases[] = {
      {"185", 185000},
      {"18.5", 18000},
      {"", 0},
      {"abc", 0},
      {"0", 0},
      {"-5", -5000},
      {" +7s", 7000},
      {gbk("３"), 3000},  // full-width digit
      {"2147483", 2147483000},
      {"2147484", kMax},  // 2 147 484 000 ms does not fit: the largest period that does
      {"99999999999999999999", kMax},
      {"-2147483", -2147483000},
      {"-2147484", kMin},
  };
  for (const Case& c : cases) EXPECT_EQ(refresh_period_ms(c.text), c.ms) << c.text;
}

}  // namespace
