// Importing gzlist.txt into the fund list and saving the list back, on the
// real window against the sample data server, with the file in memory.
#include "fund_window_fixture.h"

namespace {

const Text kBadCode = gbk("基金代码有误！");
const Text kAlreadyAdded = gbk("添加过了！");
const std::string kPath = "/opt/fundwatch/gzlist.txt";

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
      {"a CR alone does not end a line", "990001\r990002\r\n", {}, {kBadCode}},
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

}  // namespace
