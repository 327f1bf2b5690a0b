// Importing gzlist.txt into the fund list and saving the list back, on the
// real window against the sample data server, with the file in memory: the
// line rules, the cap on refusal boxes, and the backup a save keeps.
#include <functional>

#include "fund_window_fixture.h"

namespace {

using platform::probe::MouseButton;

const Text kBadCode = gbk("基金代码有误！");
const Text kAlreadyAdded = gbk("添加过了！");
const std::string kPath = "/opt/fundwatch/gzlist.txt";
const std::string kBackup = "/opt/fundwatch/gzlist.txt.bak";

using WatchListTest = FundWindowTest;

TEST_F(WatchListTest, ImportShowsTheFileReversedAndSaveWritesItBack) {
  files.files[kPath] = "990001\r\n990003\r\n990004\r\n";
  w.按钮1.click();
  EXPECT_EQ(rows(), (std::vector<std::vector<Text>>{sample_row("990004"), sample_row("990003"),
                                                    sample_row("990001")}));
  EXPECT_FALSE(w.按钮1.visible());
  EXPECT_EQ(row_colours(), (std::vector<platform::Colour>{kRed, kGreen, kRed}));
  EXPECT_TRUE(notices().empty());
  w.按钮3.click();
  EXPECT_EQ(files.files[kPath], "990004\r\n990003\r\n990001\r\n");
}

TEST_F(WatchListTest, ImportKeepsOlderRowsBelow) {
  add("990005");
  files.files[kPath] = "990002\r\n";
  w.按钮1.click();
  EXPECT_EQ(codes(), (std::vector<Text>{"990002", "990005"}));
}

TEST_F(WatchListTest, EmptyListSavesAnEmptyFile) {
  files.files[kPath] = "990001\r\n";
  w.按钮3.click();
  ASSERT_EQ(files.files.count(kPath), 1u);
  EXPECT_EQ(files.files[kPath], "");
}

TEST_F(WatchListTest, ImportLineRules) {
  struct Case {
    const char* what;
    std::string content;
    std::vector<Text> codes;    // top row first
    std::vector<Text> notices;  // in order
  };
  const std::vector<Text> none;
  const std::vector<Text> kAll = {"990003", "990002", "990001"};
  const Case cases[] = {
      {"empty file", "", {}, none},
      {"no final CR LF", "990001\r\n990002\r\n990003", kAll, none},
      {"LF alone", "990001\n990002\n990003\n", kAll, none},
      {"CR LF and LF mixed", "990001\r\n990002\n990003\r\n", kAll, none},
      {"three blank lines at the end", "990001\r\n990002\r\n990003\r\n\r\n\r\n\r\n", kAll, none},
      {"four blank lines at the end",
       "990001\r\n990002\r\n990003\r\n\r\n\r\n\r\n\r\n",
       kAll,
       {kBadCode}},
      {"a blank line first", "\r\n990001\r\n990002\r\n990003\r\n", kAll, none},
      {"a blank line first, LF alone", "\n990001\n990002\n990003\n", kAll, none},
      {"a blank line inside", "990001\r\n\r\n990002\r\n990003\r\n", kAll, {kBadCode}},
      {"a code twice", "990001\r\n990002\r\n990001\r\n990003\r\n", kAll, {kAlreadyAdded}},
      {"an unknown code", "990001\r\n000000\r\n990002\r\n990003", kAll, {kBadCode}},
      {"text ends at a zero byte", std::string("990001\r\n990002\r\n990003\r\n\0990004\r\n", 33),
       kAll, none},
      {"CR alone", "990001\r990002\r990003\r", kAll, none},
      {"a blank line first, CR alone", "\r990001\r990002\r990003", kAll, none},
      {"CR, LF and CR LF mixed", "990001\r990002\n990003\r\n", kAll, none},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MainWindow window;
    wire_events(window, endpoints);
    files.files[kPath] = c.content;
    std::size_t shown_before = boxes.shown().size();
    window.按钮1.click();
    std::vector<Text> codes;
    for (int row = 0; row < list_row_count(window.超级列表框1); ++row) {
      codes.push_back(list_get_cell(window.超级列表框1, row, 0));
    }
    EXPECT_EQ(codes, c.codes);
    std::vector<Text> texts;
    for (std::size_t i = shown_before; i < boxes.shown().size(); ++i) {
      texts.push_back(boxes.shown()[i].text);
    }
    EXPECT_EQ(texts, c.notices);
    EXPECT_FALSE(window.按钮1.visible());
  }
}

TEST_F(WatchListTest, MissingOrUnreadableFileAddsNothingAndHidesTheButton) {
  w.按钮1.click();  // no file at all
  EXPECT_EQ(list_row_count(w.超级列表框1), 0);
  EXPECT_FALSE(w.按钮1.visible());
  EXPECT_TRUE(server.requests().empty());
  EXPECT_TRUE(notices().empty());
}

TEST_F(WatchListTest, FailedSaveSaysSoAndLeavesTheOldFile) {
  files.files[kPath] = "990001\r\n";
  add("990002");
  files.fail_replacements = true;
  w.按钮3.click();
  EXPECT_EQ(notices(), std::vector<Text>{gbk("保存关注列表失败！")});
  EXPECT_EQ(files.files[kPath], "990001\r\n");
  EXPECT_EQ(codes(), std::vector<Text>{"990002"});
}

TEST_F(WatchListTest, SaveThatDropsCodesKeepsTheOldFileAsBackup) {
  const std::string old_list = "990001\r\n990002\r\n990003\r\n";
  struct Case {
    const char* what;
    std::string content;                     // gzlist.txt before
    std::function<void(MainWindow&)> steps;  // what the user does before pressing save
    std::string saved;                       // gzlist.txt after
  };
  const Case cases[] = {
      {"save before the import", old_list, [](MainWindow&) {}, ""},
      {"an add, then save before the import", old_list,
       [](MainWindow& window) {
         window.编辑框1.set_text("990005");
         window.按钮2.click();
       },
       "990005\r\n"},
      {"a removal after the import", old_list,
       [](MainWindow& window) {
         window.按钮1.click();
         platform::Rect cell = platform::probe::cell_rect(window.超级列表框1, 0, 0);
         platform::probe::click_list(window.超级列表框1, cell.left + 5, cell.top + 5,
                                     MouseButton::kRight);
       },
       "990002\r\n990001\r\n"},
      {"codes past a zero byte", std::string("990001\r\n\0990002\r\n", 17),
       [](MainWindow& window) { window.按钮1.click(); }, "990001\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MainWindow window;
    wire_events(window, endpoints);
    window.window.show();
    files.files.clear();
    files.files[kPath] = c.content;
    c.steps(window);
    window.按钮3.click();
    EXPECT_EQ(files.files[kPath], c.saved);
    EXPECT_EQ(files.files[kBackup], c.content);
  }
  EXPECT_TRUE(notices().empty());
}

TEST_F(WatchListTest, SaveThatOnlyAddsOrReordersLeavesTheBackupAlone) {
  files.files[kPath] = "990001\r\n\r\n990002\r\n";  // the blank line goes, no code does
  files.files[kBackup] = "an older list\r\n";
  w.按钮1.click();
  add("990005");
  w.按钮3.click();
  EXPECT_EQ(files.files[kPath], "990005\r\n990002\r\n990001\r\n");
  EXPECT_EQ(files.files[kBackup], "an older list\r\n");
  EXPECT_EQ(notices(), std::vector<Text>{kBadCode});  // the blank line
}

TEST_F(WatchListTest, NoBackupNoSave) {
  files.files[kPath] = "990001\r\n";
  files.failing_paths.insert(kBackup);
  w.按钮3.click();
  EXPECT_EQ(notices(), std::vector<Text>{gbk("保存关注列表失败！")});
  EXPECT_EQ(files.files, (std::map<std::string, std::string>{{kPath, "990001\r\n"}}));
}

TEST_F(WatchListTest, ImportShowsTwentyRefusalBoxesThenOneSummary) {
  struct Case {
    int bad_lines;
    std::vector<Text> last_boxes;  // after the first 20
  };
  const Case cases[] = {
      {20, {}},
      {21, {gbk("另有 1 行基金代码有误，已跳过")}},
      {25, {gbk("另有 5 行基金代码有误，已跳过")}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bad_lines);
    MainWindow window;
    wire_events(window, endpoints);
    // Good codes between the bad lines, a duplicate among the refusals.
    std::string content = "990001\r\n";
    std::vector<Text> boxes_expected;
    for (int i = 0; i < c.bad_lines; ++i) {
      if (i == 3) content += "990002\r\n";
      if (i == 20) content += "990003\r\n";
      bool duplicate = i == 10 || i == c.bad_lines - 1;
      content += duplicate ? std::string("990001\r\n") : "0000" + std::to_string(10 + i) + "\r\n";
      if (i < 20) boxes_expected.push_back(duplicate ? kAlreadyAdded : kBadCode);
    }
    content += "990004\r\n";
    files.files[kPath] = content;
    std::size_t shown_before = boxes.shown().size();
    window.按钮1.click();

    std::vector<Text> codes;
    for (int row = 0; row < list_row_count(window.超级列表框1); ++row) {
      codes.push_back(list_get_cell(window.超级列表框1, row, 0));
    }
    std::vector<Text> good = {"990004", "990002", "990001"};
    if (c.bad_lines > 20) good.insert(good.begin() + 1, "990003");
    EXPECT_EQ(codes, good);
    std::vector<platform::MessageBoxRecorder::Shown> shown(boxes.shown().begin() + shown_before,
                                                           boxes.shown().end());
    boxes_expected.insert(boxes_expected.end(), c.last_boxes.begin(), c.last_boxes.end());
    ASSERT_EQ(shown.size(), boxes_expected.size());
    for (std::size_t i = 0; i < shown.size(); ++i) {
      EXPECT_EQ(shown[i], (platform::MessageBoxRecorder::Shown{gbk("提示信息"), boxes_expected[i]}))
          << i;
    }
    EXPECT_FALSE(window.按钮1.visible());
  }
}

}  // namespace
