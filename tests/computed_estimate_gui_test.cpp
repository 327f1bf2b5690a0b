// Estimates computed from holdings in a build without a per-fund estimate
// host, on the real window against the sample server: funds the valuation
// service gives no estimate get one from their newest quarter's stocks,
// marked as computed, with one quote request per refresh and each fund's
// holdings fetched once per run.
#include <string>
#include <vector>

#include "fund_window_fixture.h"
#include "platform/testing/probe.h"

namespace {

using sample::Failure;
using sample::FailureMode;

const std::string kHoldingsPath = "/FundArchivesDatas.aspx?type=jjcc&code=";
const std::string kQuotePrefix =
    "/api/qt/ulist.np/get?fltt=2&invt=2&fields=f2,f3,f12,f13,f14,f124"
    "&ut=c41e08d3b7fa59e2d06c8b1743ea9f5d&secids=";
const Text kComputedTime = "2026-12-11 14:30" + gbk(" 算");

class ComputedEstimateTest : public FundWindowTest {
 protected:
  ComputedEstimateTest() { valuation_build = true; }

  // The codes of the holdings pages asked for, oldest first.
  std::vector<std::string> holdings_requests() const {
    std::vector<std::string> codes;
    for (const sample::RequestRecord& r : server.requests()) {
      if (!r.target.starts_with(kHoldingsPath)) continue;
      codes.push_back(r.target.substr(kHoldingsPath.size(), 6));
    }
    return codes;
  }

  // The secids lists of the estimate quote requests, oldest first.
  std::vector<std::string> quote_requests() const {
    std::vector<std::string> lists;
    for (const sample::RequestRecord& r : server.requests()) {
      if (r.target.starts_with(kQuotePrefix)) lists.push_back(r.target.substr(kQuotePrefix.size()));
    }
    return lists;
  }

  // Overwrites the value cells of every row with stand-ins a refresh replaces.
  void stale_all() {
    for (int row = 0; row < list_row_count(w.超级列表框1); ++row) {
      for (int column = 2; column < 6; ++column) list_set_cell(w.超级列表框1, row, column, "stale");
    }
  }

  std::vector<Text> row_of(const std::string& code) const {
    int row = list_find_row(w.超级列表框1, code);
    return row < 0 ? std::vector<Text>{} : rows()[row];
  }

  static Text name_of(const std::string& code) { return gbk(sample::find_fund(code)->name); }
};

// 990021: 9.50 % at +2.31, 8.20 % at +1.02, 7.10 % (Hong Kong) at +1.50 and
// 6.40 % suspended: g = 40.959 / 24.8 = 1.6516. 990022: 9.50 % at -1.20,
// 8.20 % at -0.35, 7.10 % at 0.00: g = -14.27 / 24.8 = -0.5754. 990006: its
// quoted stocks make up 17.70 %. 990023: NAV for 2026-12-11 is out. 990024:
// its page has no stock table.
TEST_F(ComputedEstimateTest, FundsWithoutAServiceEstimateGetOneFromTheirHoldings) {
  for (const char* code : {"990001", "990006", "990021", "990022", "990023", "990024"}) add(code);
  const std::vector<std::vector<Text>> expected = {
      {"990024", name_of("990024"), "", "%", "1.3000", ""},
      {"990023", name_of("990023"), "", "%", "1.6000", ""},
      {"990022", name_of("990022"), "1.9885", "-0.58%", "2.0000", kComputedTime},
      {"990021", name_of("990021"), "1.5248", "1.65%", "1.5000", kComputedTime},
      {"990006", name_of("990006"), "", "%", "1.4450", ""},
      sample_row("990001"),
  };
  EXPECT_EQ(rows(), expected);
  EXPECT_EQ(row_colours(),
            (std::vector<platform::Colour>{kGreen, kGreen, kGreen, kRed, kGreen, kRed}));
  // The marker fits the 150 pixels of column 5.
  EXPECT_TRUE(platform::probe::cell_text_fits(w.超级列表框1, 2, 5));
  EXPECT_TRUE(platform::probe::cell_text_fits(w.超级列表框1, 3, 5));

  stale_all();
  w.按钮4.click();
  EXPECT_EQ(rows(), expected);
  EXPECT_EQ(row_colours(),
            (std::vector<platform::Colour>{kGreen, kGreen, kGreen, kRed, kGreen, kRed}));
  EXPECT_TRUE(notices().empty());
}

TEST_F(ComputedEstimateTest, RefreshesAskOneQuoteRequestAndHoldingsOncePerRun) {
  files.files["/opt/fundwatch/gzlist.txt"] = "990021\r\n990022\r\n990001\r\n990006\r\n";
  w.按钮1.click();
  // The import asks each fund's holdings and one quote request for them all:
  // the newest quarter's stocks only (0.000077 is the older quarter's).
  EXPECT_EQ(holdings_requests(), (std::vector<std::string>{"990021", "990022", "990006"}));
  EXPECT_EQ(quote_requests(),
            (std::vector<std::string>{
                "1.601014,0.300012,116.00981,1.600099,0.002015,1.600013,0.000011"}));
  server.clear_requests();
  for (int refresh = 0; refresh < 2; ++refresh) {
    stale_all();
    w.按钮4.click();
    EXPECT_EQ(row_of("990021")[2], "1.5248");
    EXPECT_EQ(row_of("990022")[3], "-0.58%");
  }
  EXPECT_TRUE(holdings_requests().empty());
  EXPECT_EQ(quote_requests().size(), 2u);
}

TEST_F(ComputedEstimateTest, AFailedHoldingsPageLeavesOnlyThatRowEmptyUntilItAnswers) {
  add("990021");
  server.set_failure({.mode = FailureMode::kStatus500, .target_prefix = kHoldingsPath + "990022"});
  add("990022");
  EXPECT_EQ(row_of("990022"),
            (std::vector<Text>{"990022", name_of("990022"), "", "%", "2.0000", ""}));
  EXPECT_EQ(row_of("990021")[5], kComputedTime);

  stale_all();
  w.按钮4.click();
  EXPECT_EQ(row_of("990022")[2], "");
  EXPECT_EQ(row_of("990021")[2], "1.5248");

  server.set_failure({});
  w.按钮4.click();
  EXPECT_EQ(row_of("990022")[2], "1.9885");
  EXPECT_EQ(holdings_requests(),
            (std::vector<std::string>{"990021", "990022", "990022", "990022"}));
}

TEST_F(ComputedEstimateTest, AFailedQuoteRequestGivesEmptyComputedCells) {
  server.set_failure({.mode = FailureMode::kStatus500, .target_prefix = "/api/"});
  add("990021");
  add("990001");
  EXPECT_EQ(row_of("990021"),
            (std::vector<Text>{"990021", name_of("990021"), "", "%", "1.5000", ""}));
  EXPECT_EQ(row_of("990001"), sample_row("990001"));
}

TEST_F(ComputedEstimateTest, ServiceEstimatesAreNeverRecomputed) {
  add("990001");
  add("990003");
  w.按钮4.click();
  EXPECT_TRUE(holdings_requests().empty());
  EXPECT_TRUE(quote_requests().empty());
}

// With an estimate host the per-fund service stays exact: nothing computed.
TEST_F(FundWindowTest, PerFundBuildComputesNoEstimate) {
  add("990021");
  w.按钮4.click();
  EXPECT_EQ(rows(),
            (std::vector<std::vector<Text>>{
                {"990021", gbk(sample::find_fund("990021")->name), "", "%", "1.5000", ""}}));
  for (const sample::RequestRecord& r : server.requests()) {
    EXPECT_FALSE(r.target.starts_with("/FundArchivesDatas.aspx")) << r.target;
    EXPECT_FALSE(r.target.starts_with("/api/")) << r.target;
  }
}

}  // namespace
