// Adding, refreshing, colouring and removing fund rows on the real window
// against the sample data server, and the refresh timer's period.
#include <chrono>
#include <thread>

#include "fund_window_fixture.h"

namespace {

using namespace std::chrono_literals;
using platform::probe::MouseButton;

const Text kBadCode = gbk("基金代码有误！");
const Text kAlreadyAdded = gbk("添加过了！");

using FundRowsTest = FundWindowTest;

TEST_F(FundRowsTest, AddedFundsShowTheirEstimateNewestOnTop) {
  add("990001");
  add("990003");
  EXPECT_EQ(rows(), (std::vector<std::vector<Text>>{sample_row("990003"), sample_row("990001")}));
  EXPECT_EQ(estimate_requests(), (std::vector<std::string>{"/js/990001.js?rt=0305457217284",
                                                           "/js/990003.js?rt=0305457217284"}));
  EXPECT_EQ(server.requests().at(0).scheme, "http");
  EXPECT_EQ(w.编辑框1.text(), "990003");  // kept after the add
  EXPECT_TRUE(notices().empty());
}

TEST_F(FundRowsTest, CodeLengthIsTestedInBytesBeforeAnyRequest) {
  struct Case {
    Text code;
    std::size_t requests;   // estimate requests the add makes
    std::string path = {};  // what the server sees; empty: the code as it is
  };
  const Case cases[] = {
      {"", 0},
      {"99000", 0},
      {"9900011", 0},
      {gbk("基金"), 0},  // 4 bytes
      {"abcdef", 1},     // no fund: refused after asking
      // Three double-byte characters pass the length test; the HTTP client
      // sends them percent-encoded as UTF-8, as the system's HTTP service
      // escapes an object path.
      {gbk("基金代"), 1, "/js/%E5%9F%BA%E9%87%91%E4%BB%A3.js?rt=0305457217284"},
      {"99%300", 1},  // sent unescaped
  };
  std::size_t shown = 0;
  for (const Case& c : cases) {
    server.clear_requests();
    add(c.code);
    ASSERT_EQ(estimate_requests().size(), c.requests) << c.code;
    if (c.requests == 1) {
      EXPECT_EQ(estimate_requests()[0],
                c.path.empty() ? "/js/" + c.code + ".js?rt=0305457217284" : c.path);
    }
    ASSERT_EQ(boxes.shown().size(), ++shown) << c.code;
    EXPECT_EQ(notices().back(), kBadCode) << c.code;
  }
  EXPECT_EQ(list_row_count(w.超级列表框1), 0);
}

TEST_F(FundRowsTest, DuplicateCostsARequestLeavesTheRowAndRecolours) {
  add("990001");
  ASSERT_EQ(row_colours(), (std::vector<platform::Colour>{kRed}));
  // Stand-ins that an update of the row would overwrite.
  list_set_cell(w.超级列表框1, 0, 2, "stale");
  list_set_cell(w.超级列表框1, 0, 3, "-1%");
  server.clear_requests();
  add("990001");
  EXPECT_EQ(estimate_requests().size(), 1u);
  EXPECT_EQ(notices(), std::vector<Text>{kAlreadyAdded});
  EXPECT_EQ(list_get_cell(w.超级列表框1, 0, 2), "stale");
  EXPECT_EQ(list_row_count(w.超级列表框1), 1);
  EXPECT_EQ(row_colours(), (std::vector<platform::Colour>{kGreen}));  // recoloured by "-1%"

  // A duplicate whose request fails is a bad code.
  server.set_failure({.mode = sample::FailureMode::kStatus500});
  add("990001");
  EXPECT_EQ(notices(), (std::vector<Text>{kAlreadyAdded, kBadCode}));
}

TEST_F(FundRowsTest, RowColoursFollowTheGrowth) {
  for (const char* code : {"990001", "990002", "990003", "990004"}) add(code);
  // Top down: 0.01% rising, -0.52% falling, 0.00% not rising, 1.25% rising.
  EXPECT_EQ(codes(), (std::vector<Text>{"990004", "990003", "990002", "990001"}));
  EXPECT_EQ(row_colours(), (std::vector<platform::Colour>{kRed, kGreen, kGreen, kRed}));
  // White text on red: no dark pixel in the cell; black on green: some.
  auto darkest = [&](int row) {
    platform::RgbaImage image = platform::probe::grab(w.超级列表框1);
    platform::Rect cell = platform::probe::cell_rect(w.超级列表框1, row, 1);
    int result = 3 * 255;
    for (int y = cell.top; y < cell.top + cell.height; ++y) {
      for (int x = cell.left; x < cell.left + cell.width; ++x) {
        platform::Colour c = platform::probe::pixel(image, x, y);
        result = std::min<int>(result, (c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF));
      }
    }
    return result;
  };
  EXPECT_GT(darkest(0), 200);
  EXPECT_LT(darkest(1), 60);
}

TEST_F(FundRowsTest, RefreshWithTheServerDownEmptiesTheValuesAndGoesGreen) {
  add("990001");
  add("990004");
  server.stop();
  w.按钮4.click();
  auto name = [](const char* code) { return sample_row(code)[1]; };
  EXPECT_EQ(rows(), (std::vector<std::vector<Text>>{{"990004", name("990004"), "", "%", "", ""},
                                                    {"990001", name("990001"), "", "%", "", ""}}));
  EXPECT_EQ(row_colours(), (std::vector<platform::Colour>{kGreen, kGreen}));
  EXPECT_TRUE(notices().empty());

  // Back up: the next refresh fills the rows again, the same URL each time.
  ASSERT_TRUE(server.start());
  server.clear_requests();
  w.按钮4.click();
  EXPECT_EQ(rows(), (std::vector<std::vector<Text>>{sample_row("990004"), sample_row("990001")}));
  EXPECT_EQ(estimate_requests(), (std::vector<std::string>{"/js/990004.js?rt=0305457217284",
                                                           "/js/990001.js?rt=0305457217284"}));
  EXPECT_EQ(row_colours(), (std::vector<platform::Colour>{kRed, kRed}));
}

TEST_F(FundRowsTest, RefreshOfAnEmptyListAsksNothing) {
  w.按钮4.click();
  EXPECT_TRUE(server.requests().empty());
  EXPECT_EQ(list_row_count(w.超级列表框1), 0);
}

TEST_F(FundRowsTest, RefreshPeriodFollowsTheEditBox) {
  // Start-up took the design-time "185".
  EXPECT_EQ(w.时钟1.period(), 185000);
  EXPECT_TRUE(w.时钟1.running());
  w.编辑框2.set_text("");
  EXPECT_FALSE(w.时钟1.running());
  w.编辑框2.type("3");
  EXPECT_EQ(w.时钟1.period(), 3000);
  EXPECT_TRUE(w.时钟1.running());
  // The same value again does not restart the countdown.
  ASSERT_TRUE(platform::probe::wait_until([&] { return w.时钟1.remaining_ms() < 2700; }, 2000));
  w.编辑框2.set_text("3");
  EXPECT_LT(w.时钟1.remaining_ms(), 2700);
  for (const char* stopping : {"0", "-5", "x"}) {
    w.编辑框2.set_text("3");
    w.编辑框2.set_text(stopping);
    EXPECT_FALSE(w.时钟1.running()) << stopping;
  }
  w.编辑框2.set_text("99999999");  // too many milliseconds: the largest period
  EXPECT_EQ(w.时钟1.period(), 2147483647);
  EXPECT_TRUE(w.时钟1.running());
}

TEST_F(FundRowsTest, TimerTicksRefreshTheRows) {
  add("990002");
  list_set_cell(w.超级列表框1, 0, 2, "stale");
  w.编辑框2.set_text("1");
  ASSERT_TRUE(platform::probe::wait_until(
      [&] { return list_get_cell(w.超级列表框1, 0, 2) == sample_row("990002")[2]; }, 3000));
  w.编辑框2.set_text("0");
}

TEST_F(FundRowsTest, RightClickRemovesTheRowUnderThePointerAndRecolours) {
  for (const char* code : {"990001", "990003", "990004"}) add(code);
  ASSERT_EQ(row_colours(), (std::vector<platform::Colour>{kRed, kGreen, kRed}));
  platform::Rect empty = platform::probe::empty_area(w.超级列表框1);
  platform::probe::click_list(w.超级列表框1, empty.left + 5, empty.top + 5, MouseButton::kRight);
  EXPECT_EQ(codes(), (std::vector<Text>{"990004", "990003", "990001"}));

  platform::Rect cell = platform::probe::cell_rect(w.超级列表框1, 1, 1);
  platform::probe::click_list(w.超级列表框1, cell.left + 5, cell.top + 5, MouseButton::kRight);
  EXPECT_EQ(rows(), (std::vector<std::vector<Text>>{sample_row("990004"), sample_row("990001")}));
  // 990001 moved up into the place of a green row; it keeps its own red.
  EXPECT_EQ(row_colours(), (std::vector<platform::Colour>{kRed, kRed}));
  EXPECT_EQ(files.replacements, 0);  // the file is not touched
  EXPECT_TRUE(notices().empty());
}

// Lets the held replies go once one is waiting and `after` has passed, from
// a thread of its own: the user-interface thread is inside the request.
class Releaser {
 public:
  Releaser(sample::SampleServer& server, std::chrono::milliseconds after)
      : thread_([&server, after] {
          if (server.wait_until_held(1, 10s)) std::this_thread::sleep_for(after);
          server.release();
        }) {}
  ~Releaser() { thread_.join(); }

 private:
  std::thread thread_;
};

TEST_F(FundRowsTest, RowRemovedDuringARefreshLeavesTheOtherRowsTheirOwnValues) {
  for (const char* code : {"990001", "990002", "990003"}) add(code);
  for (int row = 0; row < 3; ++row) list_set_cell(w.超级列表框1, row, 2, "stale");
  server.clear_requests();
  // The first reply (990003, the top row) waits; meanwhile the user removes
  // that very row.
  server.hold("/js/990003");
  Releaser releaser(server, 50ms);
  Injected remove([&] {
    platform::Rect cell = platform::probe::cell_rect(w.超级列表框1, 0, 0);
    platform::probe::click_list(w.超级列表框1, cell.left + 5, cell.top + 5, MouseButton::kRight);
  });
  w.按钮4.click();
  ASSERT_TRUE(remove.done());
  // Position 1 is now 990001; position 2 no longer exists and is skipped.
  EXPECT_EQ(estimate_requests(), (std::vector<std::string>{"/js/990003.js?rt=0305457217284",
                                                           "/js/990001.js?rt=0305457217284"}));
  std::vector<Text> untouched = sample_row("990002");
  untouched[2] = "stale";
  EXPECT_EQ(rows(), (std::vector<std::vector<Text>>{untouched, sample_row("990001")}));
  EXPECT_EQ(row_colours(), (std::vector<platform::Colour>{kGreen, kRed}));
}

TEST_F(FundRowsTest, FundAddedDuringARefreshKeepsEveryRowsValues) {
  for (const char* code : {"990001", "990002"}) add(code);
  for (int row = 0; row < 2; ++row) list_set_cell(w.超级列表框1, row, 2, "stale");
  server.clear_requests();
  server.hold("/js/990002");
  Releaser releaser(server, 50ms);
  Injected add_third([&] { add("990003"); });
  w.按钮4.click();
  ASSERT_TRUE(add_third.done());
  // The refresh wrote 990002 into its row, wherever the insert moved it; its
  // second position then read 990002 again, so 990001 kept its stand-in.
  std::vector<Text> untouched = sample_row("990001");
  untouched[2] = "stale";
  EXPECT_EQ(rows(), (std::vector<std::vector<Text>>{sample_row("990003"), sample_row("990002"),
                                                    untouched}));
  EXPECT_EQ(estimate_requests(), (std::vector<std::string>{"/js/990002.js?rt=0305457217284",
                                                           "/js/990003.js?rt=0305457217284",
                                                           "/js/990002.js?rt=0305457217284"}));
  EXPECT_EQ(row_colours(), (std::vector<platform::Colour>{kGreen, kGreen, kRed}));
}

TEST_F(FundRowsTest, TimerTickDuringAnAddKeepsEveryRowsValues) {
  for (const char* code : {"990001", "990002"}) add(code);
  for (int row = 0; row < 2; ++row) list_set_cell(w.超级列表框1, row, 2, "stale");
  server.clear_requests();
  server.hold("/js/990004");
  w.编辑框2.set_text("1");  // 时钟1 ticks while the add's reply waits
  {
    Releaser releaser(server, 1200ms);
    add("990004");
  }
  w.编辑框2.set_text("0");
  EXPECT_EQ(estimate_requests(), (std::vector<std::string>{"/js/990004.js?rt=0305457217284",
                                                           "/js/990002.js?rt=0305457217284",
                                                           "/js/990001.js?rt=0305457217284"}));
  EXPECT_EQ(rows(), (std::vector<std::vector<Text>>{sample_row("990004"), sample_row("990002"),
                                                    sample_row("990001")}));
  EXPECT_EQ(row_colours(), (std::vector<platform::Colour>{kRed, kGreen, kRed}));
}

}  // namespace
