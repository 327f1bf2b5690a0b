// The fund rows and the watch-list import of a build without a per-fund
// estimate host: estimates from the sample server's valuation path, in one
// request per 50 codes, with a second sample server as the backup host.
#include <chrono>
#include <thread>

#include "fund_window_fixture.h"

namespace {

using namespace std::chrono_literals;
using platform::probe::MouseButton;

const Text kBadCode = gbk("基金代码有误！");
const Text kAlreadyAdded = gbk("添加过了！");
const std::string kPath = "/opt/fundwatch/gzlist.txt";
const std::string kValuationPath = "/mm/newCore/FundValuationLast";

class ValuationRowsTest : public FundWindowTest {
 protected:
  ValuationRowsTest() { valuation_build = true; }

  // Overwrites the value cells of every row with stand-ins a refresh replaces.
  void stale_values() {
    for (int row = 0; row < list_row_count(w.超级列表框1); ++row) {
      for (int column = 2; column < 6; ++column) list_set_cell(w.超级列表框1, row, column, "stale");
    }
  }

  // A row as shown when its estimate is missing: code and name, no values.
  static std::vector<Text> empty_row(const std::string& code) {
    return {code, sample_row(code)[1], "", "%", "", ""};
  }
};

std::string joined(const std::vector<Text>& codes) {
  std::string list;
  for (const Text& code : codes) list += (list.empty() ? "" : ",") + code;
  return list;
}

TEST_F(ValuationRowsTest, AddShowsTheFieldsAsThePerFundServiceWroteThem) {
  // Among them: trailing zeros the reply drops (1.052, 0), a negative and a
  // barely rising growth; name, values and time each from their own key.
  for (const char* code : {"990001", "990002", "990003", "990004"}) add(code);
  EXPECT_EQ(rows(), (std::vector<std::vector<Text>>{sample_row("990004"), sample_row("990003"),
                                                    sample_row("990002"), sample_row("990001")}));
  EXPECT_EQ(sample_row("990002")[4], "1.0520");
  EXPECT_EQ(sample_row("990002")[3], "0.00%");
  EXPECT_EQ(valuation_requests(),
            (std::vector<std::string>{"990001", "990002", "990003", "990004"}));
  EXPECT_TRUE(estimate_requests().empty());
  EXPECT_TRUE(backup.requests().empty());
  EXPECT_EQ(row_colours(), (std::vector<platform::Colour>{kRed, kGreen, kGreen, kRed}));
  EXPECT_TRUE(notices().empty());
}

TEST_F(ValuationRowsTest, FundWithoutAnEstimateIsAddedWithEmptyValueCells) {
  add("990006");
  EXPECT_EQ(
      rows(),
      (std::vector<std::vector<Text>>{{"990006", gbk("示例主动精选"), "", "%", "1.4450", ""}}));
  EXPECT_EQ(row_colours(), (std::vector<platform::Colour>{kGreen}));
  EXPECT_TRUE(notices().empty());
}

TEST_F(ValuationRowsTest, UnknownCodesAndDuplicatesAreRefusedAfterTheRequest) {
  struct Case {
    Text code;
    std::size_t requests;
    Text notice;
  } cases[] = {
      {"99000", 0, kBadCode},                           // the length test comes first
      {"123456", 1, kBadCode},                          // absent from the reply
      {"abcdef", 1, kBadCode},      {"990001", 1, {}},  // added
      {"990001", 1, kAlreadyAdded},
  };
  for (const Case& c : cases) {
    server.clear_requests();
    std::size_t shown = boxes.shown().size();
    add(c.code);
    EXPECT_EQ(valuation_requests(), std::vector<std::string>(c.requests, c.code)) << c.code;
    if (c.notice.empty()) {
      EXPECT_EQ(boxes.shown().size(), shown) << c.code;
    } else {
      ASSERT_EQ(boxes.shown().size(), shown + 1) << c.code;
      EXPECT_EQ(notices().back(), c.notice) << c.code;
    }
  }
  EXPECT_EQ(rows(), (std::vector<std::vector<Text>>{sample_row("990001")}));
}

TEST_F(ValuationRowsTest, RefreshAsksOnceForAllRowsInRowOrder) {
  for (const char* code : {"990001", "990002", "990003", "990004", "990005", "990006"}) add(code);
  stale_values();
  server.clear_requests();
  w.按钮4.click();
  EXPECT_EQ(valuation_requests(),
            std::vector<std::string>{"990006,990005,990004,990003,990002,990001"});
  EXPECT_EQ(rows(),
            (std::vector<std::vector<Text>>{{"990006", gbk("示例主动精选"), "", "%", "1.4450", ""},
                                            sample_row("990005"),
                                            sample_row("990004"),
                                            sample_row("990003"),
                                            sample_row("990002"),
                                            sample_row("990001")}));
  EXPECT_EQ(row_colours(),
            (std::vector<platform::Colour>{kGreen, kGreen, kRed, kGreen, kGreen, kRed}));
  EXPECT_TRUE(backup.requests().empty());
}

TEST_F(ValuationRowsTest, ImportAndRefreshAskFiftyCodesPerRequest) {
  // 120 generated funds, one unknown code and a repeated code in the file.
  std::vector<Text> codes;
  std::string file;
  for (int i = 0; i < 120; ++i) {
    codes.push_back("97" + std::string(i < 10 ? "000" : i < 100 ? "00" : "0") + std::to_string(i));
    file += codes.back() + "\r\n";
  }
  file += "123456\r\n970007\r\n";
  files.files[kPath] = file;
  w.按钮1.click();
  // The file's codes in file order, each once; the unknown code is asked too.
  std::vector<Text> first(codes.begin(), codes.begin() + 50);
  std::vector<Text> second(codes.begin() + 50, codes.begin() + 100);
  std::vector<Text> third(codes.begin() + 100, codes.end());
  third.push_back("123456");
  EXPECT_EQ(valuation_requests(),
            (std::vector<std::string>{joined(first), joined(second), joined(third)}));
  EXPECT_EQ(notices(), (std::vector<Text>{kBadCode, kAlreadyAdded}));
  ASSERT_EQ(list_row_count(w.超级列表框1), 120);
  EXPECT_EQ(rows().front(), sample_row("970119"));
  EXPECT_EQ(rows().back(), sample_row("970000"));

  // A refresh: the rows in row order, newest first.
  stale_values();
  server.clear_requests();
  w.按钮4.click();
  std::vector<Text> shown(codes.rbegin(), codes.rend());
  EXPECT_EQ(valuation_requests(),
            (std::vector<std::string>{joined({shown.begin(), shown.begin() + 50}),
                                      joined({shown.begin() + 50, shown.begin() + 100}),
                                      joined({shown.begin() + 100, shown.end()})}));
  for (int row = 0; row < 120; ++row) {
    ASSERT_EQ(rows()[row], sample_row(shown[row])) << row;
  }
}

TEST_F(ValuationRowsTest, ImportKeepsTheMessagesAndRowsOfTheFile) {
  files.files[kPath] = "990001\r\n\r\n990006\r\n000000\r\n990001\r\n990003\r\n";
  w.按钮1.click();
  EXPECT_EQ(valuation_requests(), std::vector<std::string>{"990001,990006,000000,990003"});
  EXPECT_EQ(notices(), (std::vector<Text>{kBadCode, kBadCode, kAlreadyAdded}));
  EXPECT_EQ(codes(), (std::vector<Text>{"990003", "990006", "990001"}));
  EXPECT_FALSE(w.按钮1.visible());
  EXPECT_EQ(row_colours(), (std::vector<platform::Colour>{kGreen, kGreen, kRed}));
}

TEST_F(ValuationRowsTest, FailedRequestIsTriedOnceOnTheBackup) {
  for (const char* code : {"990001", "990003"}) add(code);
  stale_values();
  server.clear_requests();
  server.set_failure({.mode = sample::FailureMode::kStatus500, .target_prefix = kValuationPath});
  w.按钮4.click();
  EXPECT_EQ(valuation_requests(), std::vector<std::string>{"990003,990001"});
  EXPECT_EQ(valuation_requests(backup), std::vector<std::string>{"990003,990001"});
  EXPECT_EQ(rows(), (std::vector<std::vector<Text>>{sample_row("990003"), sample_row("990001")}));

  // An add goes the same way.
  add("990004");
  EXPECT_EQ(rows().front(), sample_row("990004"));
  EXPECT_EQ(valuation_requests(backup), (std::vector<std::string>{"990003,990001", "990004"}));
  EXPECT_TRUE(notices().empty());
}

TEST_F(ValuationRowsTest, EveryKindOfFailureOnBothHostsGivesEmptyValues) {
  add("990001");
  add("990004");
  const sample::FailureMode modes[] = {
      sample::FailureMode::kStatus500, sample::FailureMode::kCutShort,
      sample::FailureMode::kNotJson,   sample::FailureMode::kUnsuccessful,
      sample::FailureMode::kNotUtf8,  // names no longer UTF-8: not JSON
  };
  for (sample::FailureMode mode : modes) {
    SCOPED_TRACE(static_cast<int>(mode));
    stale_values();
    server.clear_requests();
    backup.clear_requests();
    server.set_failure({.mode = mode, .target_prefix = kValuationPath});
    backup.set_failure({.mode = mode, .target_prefix = kValuationPath});
    w.按钮4.click();
    EXPECT_EQ(valuation_requests().size(), 1u);
    EXPECT_EQ(valuation_requests(backup).size(), 1u);
    EXPECT_EQ(rows(), (std::vector<std::vector<Text>>{empty_row("990004"), empty_row("990001")}));
    EXPECT_EQ(row_colours(), (std::vector<platform::Colour>{kGreen, kGreen}));

    std::size_t shown = boxes.shown().size();
    add("990002");
    ASSERT_EQ(boxes.shown().size(), shown + 1);
    EXPECT_EQ(notices().back(), kBadCode);
    EXPECT_EQ(list_row_count(w.超级列表框1), 2);
  }
  // Both down: the same.
  server.stop();
  backup.stop();
  stale_values();
  w.按钮4.click();
  EXPECT_EQ(rows(), (std::vector<std::vector<Text>>{empty_row("990004"), empty_row("990001")}));
}

TEST_F(ValuationRowsTest, RowsRemovedOrAddedDuringTheRequestKeepTheirOwnValues) {
  for (const char* code : {"990001", "990002", "990003"}) add(code);
  stale_values();
  server.clear_requests();
  // While the refresh's request is under way the user removes the top row
  // (990003) and adds 990004: no row may get another row's values, the
  // removed one comes back nowhere, and the new one keeps what its add wrote.
  server.hold(kValuationPath + "?FCODES=990003,");
  std::thread releaser([&] {
    if (server.wait_until_held(1, 10s)) std::this_thread::sleep_for(50ms);
    server.release();
  });
  Injected change([&] {
    platform::Rect cell = platform::probe::cell_rect(w.超级列表框1, 0, 0);
    platform::probe::click_list(w.超级列表框1, cell.left + 5, cell.top + 5, MouseButton::kRight);
    add("990004");
    list_set_cell(w.超级列表框1, 0, 2, "added");
  });
  w.按钮4.click();
  releaser.join();
  ASSERT_TRUE(change.done());
  EXPECT_EQ(valuation_requests(), (std::vector<std::string>{"990003,990002,990001", "990004"}));
  std::vector<Text> added = sample_row("990004");
  added[2] = "added";
  EXPECT_EQ(rows(),
            (std::vector<std::vector<Text>>{added, sample_row("990002"), sample_row("990001")}));
  EXPECT_EQ(row_colours(), (std::vector<platform::Colour>{kRed, kGreen, kRed}));
}

using PerFundRowsTest = FundWindowTest;

TEST_F(PerFundRowsTest, BuildWithAnEstimateHostMakesNoValuationRequest) {
  // The fixture names the sample server as valuation host too.
  files.files[kPath] = "990001\r\n990002\r\n";
  w.按钮1.click();
  add("990003");
  w.按钮4.click();
  EXPECT_EQ(estimate_requests().size(), 2u + 1u + 3u);
  EXPECT_TRUE(valuation_requests().empty());
  EXPECT_EQ(codes(), (std::vector<Text>{"990003", "990002", "990001"}));
}

}  // namespace
