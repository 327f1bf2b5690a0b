#include "funddata/holdings_estimate.h"

#include <gtest/gtest.h>

namespace {

// 2026-12-11 06:30:00 UTC, 14:30 in China.
constexpr long long kAfternoon = 1796970600;

StockHolding holding(const char* secid, double share) {
  return {.secid = secid, .code = {}, .name = {}, .net_value_share = share};
}

TEST(HoldingsEstimate, WeightsTheQuotedChangesByShare) {
  struct Case {
    const char* what;
    std::vector<StockHolding> holdings;
    QuoteTable quotes;
    const char* nav;
    std::optional<ComputedEstimate> expected;
  };
  const Case cases[] = {
      {"equal weights",
       {holding("1.600001", 10), holding("0.000002", 10)},
       {{"1.600001", {2.0, kAfternoon}}, {"0.000002", {-1.0, kAfternoon}}},
       "1.0000",
       ComputedEstimate{"1.0050", "0.50", "2026-12-11 14:30"}},
      {"unequal weights",
       {holding("1.600001", 30), holding("0.000002", 10)},
       {{"1.600001", {2.0, kAfternoon}}, {"0.000002", {-2.0, kAfternoon}}},
       "2.0000",
       ComputedEstimate{"2.0200", "1.00", "2026-12-11 14:30"}},
      {"a suspended stock is left out",
       {holding("1.600001", 20), holding("1.600003", 50)},
       {{"1.600001", {-1.5, kAfternoon}}, {"1.600003", {std::nullopt, kAfternoon + 600}}},
       "1.0000",
       ComputedEstimate{"0.9850", "-1.50", "2026-12-11 14:30"}},
      {"an unquoted stock is left out",
       {holding("1.600001", 25), holding("0.000404", 50)},
       {{"1.600001", {0.87, kAfternoon}}},
       "1.2345",
       ComputedEstimate{"1.2452", "0.87", "2026-12-11 14:30"}},
      {"a Hong Kong secid",
       {holding("116.00700", 12.5), holding("1.600001", 12.5)},
       {{"116.00700", {3.0, kAfternoon - 60}}, {"1.600001", {1.0, kAfternoon - 120}}},
       "1.0000",
       ComputedEstimate{"1.0200", "2.00", "2026-12-11 14:29"}},
      {"quoted shares at exactly 20 %",
       {holding("1.600001", 12.34), holding("1.600002", 7.66), holding("1.600003", 60)},
       {{"1.600001", {1.0, kAfternoon}}, {"1.600002", {1.0, kAfternoon}}},
       "1.0000",
       ComputedEstimate{"1.0100", "1.00", "2026-12-11 14:30"}},
      {"quoted shares just below 20 %",
       {holding("1.600001", 12.34), holding("1.600002", 7.65), holding("1.600003", 60)},
       {{"1.600001", {1.0, kAfternoon}}, {"1.600002", {1.0, kAfternoon}}},
       "1.0000",
       std::nullopt},
      {"a growth rounding to zero has no sign",
       {holding("1.600001", 30)},
       {{"1.600001", {-0.004, kAfternoon}}},
       "1.0000",
       ComputedEstimate{"1.0000", "0.00", "2026-12-11 14:30"}},
      {"no net value",
       {holding("1.600001", 30)},
       {{"1.600001", {1.0, kAfternoon}}},
       "",
       std::nullopt},
      {"no holdings", {}, {}, "1.0000", std::nullopt},
  };
  for (const Case& c : cases) {
    std::optional<ComputedEstimate> got = estimate_from_holdings({.holdings = c.holdings,
                                                                  .quotes = c.quotes,
                                                                  .nav = c.nav,
                                                                  .nav_date = "2026-12-10",
                                                                  .reply_time = kAfternoon + 3600});
    ASSERT_EQ(got.has_value(), c.expected.has_value()) << c.what;
    if (!got) continue;
    EXPECT_EQ(got->gsz, c.expected->gsz) << c.what;
    EXPECT_EQ(got->gszzl, c.expected->gszzl) << c.what;
    EXPECT_EQ(got->gztime, c.expected->gztime) << c.what;
  }
}

TEST(HoldingsEstimate, TimeIsTheNewestQuoteOrTheReplyInChinaTime) {
  std::vector<StockHolding> holdings = {holding("1.600001", 15), holding("0.000002", 15)};
  QuoteTable with_times = {{"1.600001", {1.0, kAfternoon - 300}}, {"0.000002", {1.0, kAfternoon}}};
  QuoteTable without_times = {{"1.600001", {1.0, {}}}, {"0.000002", {1.0, {}}}};
  // 16:00 UTC is past midnight in China: the next day.
  constexpr long long kEvening = 1797004800;
  auto time_of = [&](const QuoteTable& quotes) {
    return estimate_from_holdings({.holdings = holdings,
                                   .quotes = quotes,
                                   .nav = "1.0",
                                   .nav_date = "2026-12-10",
                                   .reply_time = kEvening})
        ->gztime;
  };
  EXPECT_EQ(time_of(with_times), "2026-12-11 14:30");
  EXPECT_EQ(time_of(without_times), "2026-12-12 00:00");
  EXPECT_EQ(china_time_text(0), "1970-01-01 08:00");
}

TEST(HoldingsEstimate, NoEstimateOnceTheDaysNetValueIsPublished) {
  std::vector<StockHolding> holdings = {holding("1.600001", 40)};
  QuoteTable quotes = {{"1.600001", {1.0, kAfternoon}}};
  auto estimate = [&](const char* nav_date) {
    return estimate_from_holdings({.holdings = holdings,
                                   .quotes = quotes,
                                   .nav = "1.5",
                                   .nav_date = nav_date,
                                   .reply_time = kAfternoon});
  };
  EXPECT_FALSE(estimate("2026-12-11").has_value());
  ASSERT_TRUE(estimate("2026-12-10").has_value());
  EXPECT_EQ(estimate("2026-12-10")->gsz, "1.5150");
  EXPECT_TRUE(estimate("").has_value());
}

}  // namespace
