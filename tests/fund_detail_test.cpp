// A click on a fund row, on the real window against the sample data server:
// the four requests and their URLs, the holdings list's order, cells and
// colours on screen, the holdings page's Referer, the overview text byte for
// byte (its page declares UTF-8), the chart, the reminder with no row
// selected, and broken replies.
#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "fund_window_fixture.h"
#include "platform/timer.h"

namespace {

using platform::probe::cell_rect;
using platform::probe::click_list;
using platform::probe::grab;
using platform::probe::MouseButton;
using platform::probe::pixel;
using sample::Failure;
using sample::FailureMode;

const char kQuoteQuery[] =
    "/api/qt/ulist.np/get?fltt=2&invt=2&fields=f2,f3,f12,f14,f9"
    "&cb=jQuery18306676004993145754_1594342916372&ut=c41e08d3b7fa59e2d06c8b1743ea9f5d&secids=";

class FundDetailTest : public FundWindowTest {
 protected:
  // Puts the sample funds into the fund list, first code on top.
  void list_funds(const std::vector<std::string>& codes) {
    for (auto code = codes.rbegin(); code != codes.rend(); ++code) {
      list_insert_row(w.超级列表框1, 0, *code);
      list_set_cell(w.超级列表框1, list_find_row(w.超级列表框1, *code), 1,
                    gbk(sample::find_fund(*code)->name));
    }
  }

  void click_fund(int row) {
    platform::Rect cell = cell_rect(w.超级列表框1, row, 1);
    click_list(w.超级列表框1, cell.left + cell.width / 2, cell.top + cell.height / 2,
               MouseButton::kLeft);
  }

  void click_empty_space() {
    platform::Rect area = platform::probe::empty_area(w.超级列表框1);
    click_list(w.超级列表框1, area.left + area.width / 2, area.top + area.height / 2,
               MouseButton::kLeft);
  }

  std::vector<std::string> targets() const {
    std::vector<std::string> result;
    for (const sample::RequestRecord& r : server.requests()) {
      result.push_back(r.scheme + " " + r.target);
    }
    return result;
  }

  static std::vector<std::string> expected_targets(const std::string& code,
                                                   const std::string& secids) {
    return {"http /charts/pic6/" + code + ".png",
            "http /FundArchivesDatas.aspx?type=jjcc&code=" + code + "&topline=10",
            "https " + std::string(kQuoteQuery) + secids + "&_=1594342917499",
            "http /matiaria?fundCode=" + code};
  }

  std::vector<std::vector<Text>> holdings() const { return cell_texts(w.超级列表框2, 5); }

  std::vector<Text> holding_codes() const {
    std::vector<Text> codes;
    for (const std::vector<Text>& row : holdings()) codes.push_back(row[0]);
    return codes;
  }

  // The colour behind a holding's text: a pixel near the cell's right edge.
  Colour holding_background(int row, int column) const {
    platform::Rect cell = cell_rect(w.超级列表框2, row, column);
    return pixel(grab(w.超级列表框2), cell.left + cell.width - 3, cell.top + cell.height / 2);
  }

  // The darkest pixel of a holding's cell, to tell black text from white.
  int holding_darkest(int row, int column) const {
    platform::RgbaImage image = grab(w.超级列表框2);
    platform::Rect cell = cell_rect(w.超级列表框2, row, column);
    int darkest = 3 * 255;
    for (int y = cell.top; y < cell.top + cell.height; ++y) {
      for (int x = cell.left; x < cell.left + cell.width; ++x) {
        Colour c = pixel(image, x, y);
        darkest = std::min<int>(darkest, (c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF));
      }
    }
    return darkest;
  }
};

TEST_F(FundDetailTest, FirstClickLoadsChartHoldingsAndOverview) {
  list_funds({"990002", "990001"});
  EXPECT_FALSE(w.图片框1.visible());
  click_fund(1);

  EXPECT_EQ(targets(), expected_targets("990001", "0.000011,0.300012,1.600013,"));
  EXPECT_TRUE(w.图片框1.visible());
  EXPECT_TRUE(w.图片框1.has_picture());
  // The reply lists the codes ascending; the list shows them highest first.
  EXPECT_EQ(holdings(), (std::vector<std::vector<Text>>{
                            {"600013", gbk("示例银行"), "12.34", "20.1", "-0.35%"},
                            {"300012", gbk("示例科技"), "45.60", "60.7", "1.02%"},
                            {"000011", gbk("示例地产"), "8.76", "15.3", "0.00%"},
                        }));
  EXPECT_EQ(w.标签3.text(),
            gbk("示例成长混合A\r\n\r\n成立于2015-06-18\r\n\r\n规模:12.34亿\r\n\r\n基金经理:"
                "张示例\r\n\r\n"));
}

TEST_F(FundDetailTest, HoldingsRequestCarriesTheFundsReferer) {
  list_funds({"990003"});
  click_fund(0);
  std::vector<sample::RequestRecord> requests = server.requests();
  ASSERT_EQ(requests.size(), 4u);
  auto referer = [](const sample::RequestRecord& r) {
    for (const auto& [name, value] : r.headers) {
      if (name == "Referer") return value;
    }
    return std::string("<absent>");
  };
  EXPECT_EQ(referer(requests[1]), server.http_base() + "/ccmx_990003.html");
  EXPECT_EQ(holding_codes().size(), 4u);  // the service accepted it
}

TEST_F(FundDetailTest, HoldingsComeHighestCodeFirstWhateverTheReplyOrder) {
  list_funds({"990003"});
  click_fund(0);
  // Reply order: 002015, 601014, 300012, 000011.
  EXPECT_EQ(targets()[2], expected_targets("990003", "0.002015,1.601014,0.300012,0.000011,")[2]);
  EXPECT_EQ(holding_codes(), (std::vector<Text>{"601014", "300012", "002015", "000011"}));
  EXPECT_EQ(holdings()[2],
            (std::vector<Text>{"002015", gbk("示例医药"), "30.05", "35.4", "-1.20%"}));
}

TEST_F(FundDetailTest, HoldingsAreColouredByTheirChange) {
  list_funds({"990001"});
  click_fund(0);
  ASSERT_EQ(holding_codes(), (std::vector<Text>{"600013", "300012", "000011"}));
  struct Case {
    int row;
    const char* change;
    Colour background;
    bool white_text;
  };
  const Case cases[] = {
      {0, "-0.35%", kGreen, false},
      {1, "1.02%", kRed, true},
      {2, "0.00%", kGreen, false},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(list_get_cell(w.超级列表框2, c.row, 4), c.change);
    for (int column = 0; column < 5; ++column) {
      EXPECT_EQ(holding_background(c.row, column), c.background) << c.change << " " << column;
      // White text on red leaves no dark pixel; black text on green does.
      if (c.white_text) {
        EXPECT_GT(holding_darkest(c.row, column), 200) << c.change << " " << column;
      } else {
        EXPECT_LT(holding_darkest(c.row, column), 60) << c.change << " " << column;
      }
    }
  }
}

TEST_F(FundDetailTest, OverviewTextByteForByte) {
  struct Case {
    const char* code;
    const char* text;  // UTF-8
  };
  const Case cases[] = {
      {"990002",
       "示例稳健债券\r\n\r\n成立于2012-03-01\r\n\r\n规模:5.60亿\r\n\r\n基金经理:李样本\r\n\r\n"},
      // The page has no assetSize: the caption stands alone.
      {"990005",
       "示例新兴产业\r\n\r\n成立于2021-09-09\r\n\r\n规模:\r\n\r\n基金经理:钱虚构\r\n\r\n"},
  };
  list_funds({"990002", "990005"});
  for (int row = 0; row < 2; ++row) {
    click_fund(row);
    EXPECT_EQ(w.标签3.text(), gbk(cases[row].text)) << cases[row].code;
  }
}

TEST_F(FundDetailTest, AFailedChartLeavesNoPictureNotTheOldOne) {
  const Failure failures[] = {
      {.mode = FailureMode::kStatus500, .target_prefix = "/charts/"},  // an HTML error page
      {.mode = FailureMode::kCutShort, .target_prefix = "/charts/"},   // empty download
  };
  list_funds({"990001"});
  for (const Failure& failure : failures) {
    server.set_failure({});
    click_fund(0);
    ASSERT_TRUE(w.图片框1.has_picture());
    server.set_failure(failure);
    click_fund(0);
    EXPECT_TRUE(w.图片框1.visible());
    EXPECT_FALSE(w.图片框1.has_picture()) << static_cast<int>(failure.mode);
    // The rest of the panel still loads.
    EXPECT_EQ(holding_codes().size(), 3u);
  }
}

TEST_F(FundDetailTest, EveryClickRepeatsTheRequestsAndRebuildsTheHoldings) {
  list_funds({"990001", "990004"});
  click_fund(0);
  click_fund(0);
  std::vector<std::string> once = expected_targets("990001", "0.000011,0.300012,1.600013,");
  std::vector<std::string> twice = once;
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(targets(), twice);
  EXPECT_EQ(holding_codes(), (std::vector<Text>{"600013", "300012", "000011"}));

  click_fund(1);  // 990004 holds one stock
  EXPECT_EQ(holding_codes(), (std::vector<Text>{"600013"}));
  EXPECT_EQ(holding_background(0, 0), kGreen);
  EXPECT_EQ(w.标签3.text().substr(0, gbk("示例微涨指数").size()), gbk("示例微涨指数"));
}

TEST_F(FundDetailTest, NoSelectedRowShowsTheReminderAndChangesNothing) {
  const std::vector<platform::MessageBoxRecorder::Shown> one_reminder = {
      {.title = gbk("友情提示"), .text = gbk("先多添加些关注呗！")}};

  click_empty_space();  // an empty list
  EXPECT_EQ(boxes.shown(), one_reminder);
  EXPECT_TRUE(server.requests().empty());
  EXPECT_FALSE(w.图片框1.visible());

  list_funds({"990001"});
  click_fund(0);
  ASSERT_EQ(boxes.shown().size(), 1u);
  Text overview = w.标签3.text();
  std::vector<std::vector<Text>> rows = holdings();
  server.clear_requests();

  click_empty_space();  // below the rows: the selection goes
  ASSERT_TRUE(list_selected_rows(w.超级列表框1).empty());
  EXPECT_EQ(boxes.shown().size(), 2u);
  EXPECT_EQ(boxes.shown().back(), one_reminder.front());
  EXPECT_TRUE(server.requests().empty());
  EXPECT_TRUE(w.图片框1.visible());
  EXPECT_TRUE(w.图片框1.has_picture());
  EXPECT_EQ(holdings(), rows);
  EXPECT_EQ(holding_background(1, 0), kRed);
  EXPECT_EQ(w.标签3.text(), overview);
}

TEST_F(FundDetailTest, BrokenQuoteRepliesLeaveTheWindowWorking) {
  list_funds({"990001"});
  struct Case {
    FailureMode mode;
    std::vector<Text> codes;
  };
  const Case cases[] = {
      // Every byte from 0x80 up is 0xFF: the names turn into "?", the rest stands.
      {FailureMode::kNotUtf8, {"600013", "300012", "000011"}},
      // A reply cut short counts as failed: no holdings.
      {FailureMode::kCutShort, {}},
      {FailureMode::kStatus500, {}},
  };
  for (const Case& c : cases) {
    server.set_failure({.mode = c.mode, .target_prefix = "/api/"});
    click_fund(0);
    EXPECT_EQ(holding_codes(), c.codes) << static_cast<int>(c.mode);
    if (!c.codes.empty()) {
      EXPECT_EQ(list_get_cell(w.超级列表框2, 0, 1).find_first_not_of('?'), Text::npos);
      EXPECT_EQ(list_get_cell(w.超级列表框2, 1, 4), "1.02%");
    }
    EXPECT_EQ(w.标签3.text().substr(0, gbk("示例成长混合A").size()), gbk("示例成长混合A"));
  }
  server.set_failure({});
  click_fund(0);
  EXPECT_EQ(holding_codes(), (std::vector<Text>{"600013", "300012", "000011"}));
}

// A row inserted above the clicked one while the load waits for its replies
// moves the clicked fund down; the overview must still be that fund's.
TEST_F(FundDetailTest, RowsAddedDuringTheLoadDoNotChangeWhoseOverviewIsShown) {
  list_funds({"990001"});
  platform::Timer timer({.period_ms = 0});
  timer.on_elapsed([&] {
    timer.set_period(0);
    list_insert_row(w.超级列表框1, 0, "990002");
    list_set_cell(w.超级列表框1, 0, 1, gbk(sample::find_fund("990002")->name));
  });
  server.set_delay(std::chrono::milliseconds(100));
  timer.set_period(20);
  click_fund(0);
  ASSERT_EQ(list_get_cell(w.超级列表框1, 1, 0), "990001");  // the timer ran during the load
  EXPECT_EQ(targets(), expected_targets("990001", "0.000011,0.300012,1.600013,"));
  EXPECT_EQ(w.标签3.text().substr(0, gbk("示例成长混合A\r\n").size()), gbk("示例成长混合A\r\n"));
}

}  // namespace
