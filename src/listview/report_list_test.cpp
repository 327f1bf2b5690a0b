#include "listview/report_list.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/window.h"
#include "text/gbk_literal.h"
#include "text/text_search.h"

namespace {

using platform::ListColumn;

// A fund-style list (rows stay where inserted) and a holdings-style list
// (sorted by column 0, highest first), both with three columns.
class ReportListTest : public testing::Test {
 protected:
  platform::Window window{{.outer_width = 400, .outer_height = 300}};
  std::vector<ListColumn> columns{{"a", 50}, {"b", 50}, {"c", 50}};
  ReportList funds{window, {.geometry = {0, 0, 200, 150}, .columns = columns}};
  ReportList holdings{
      window, {.geometry = {0, 150, 200, 150}, .columns = columns, .sort_descending = true}};

  static std::vector<Text> column0(const ReportList& list) {
    std::vector<Text> texts;
    for (int row = 0; row < list_row_count(list); ++row)
      texts.push_back(list_get_cell(list, row, 0));
    return texts;
  }
};

TEST_F(ReportListTest, InsertAtTopPutsLastOnTopUnlessTheListSorts) {
  for (const char* caption : {"161725", "519674", "000001"}) {
    list_insert_row(funds, 0, caption);
    list_insert_row(holdings, 0, caption);
  }
  EXPECT_EQ(column0(funds), (std::vector<Text>{"000001", "519674", "161725"}));
  EXPECT_EQ(column0(holdings), (std::vector<Text>{"519674", "161725", "000001"}));
}

TEST_F(ReportListTest, InsertPositionsAndReturnedIndex) {
  struct Case {
    int position;
    int expected_index;
  };
  // Start from rows x, y; insert "n" at the given position.
  for (Case c : {Case{0, 0}, Case{1, 1}, Case{2, 2}, Case{3, 2}, Case{-1, 2}, Case{-7, 2}}) {
    list_clear(funds);
    list_insert_row(funds, -1, "x");
    list_insert_row(funds, -1, "y");
    EXPECT_EQ(list_insert_row(funds, c.position, "n"), c.expected_index) << c.position;
    EXPECT_EQ(list_get_cell(funds, c.expected_index, 0), "n") << c.position;
    EXPECT_EQ(list_get_cell(funds, c.expected_index, 1), "");
    EXPECT_EQ(list_row_count(funds), 3);
  }
}

TEST_F(ReportListTest, SortedInsertComparesGbkBytesAndReturnsItsPlace) {
  // GBK lead bytes are above every ASCII byte, so Chinese captions sort first
  // when highest comes first; equal captions keep their insertion order.
  list_insert_row(holdings, 0, "600519");
  EXPECT_EQ(list_insert_row(holdings, 0, gbk("贵州茅台")), 0);
  EXPECT_EQ(list_insert_row(holdings, 0, "000858"), 2);
  EXPECT_EQ(list_insert_row(holdings, -1, "600519"), 2);
  list_set_cell(holdings, 2, 1, "second");
  EXPECT_EQ(column0(holdings), (std::vector<Text>{gbk("贵州茅台"), "600519", "600519", "000858"}));
  EXPECT_EQ(list_get_cell(holdings, 1, 1), "");
}

TEST_F(ReportListTest, CellsOfMissingRowsAndColumns) {
  list_insert_row(funds, 0, "161725");
  list_set_cell(funds, 0, 2, "1.234");
  EXPECT_EQ(list_get_cell(funds, 0, 2), "1.234");
  EXPECT_EQ(list_column_count(funds), 3);

  for (auto [row, column] : {std::pair{1, 0}, {-1, 0}, {0, 3}, {0, -1}}) {
    EXPECT_EQ(list_get_cell(funds, row, column), "") << row << "," << column;
    list_set_cell(funds, row, column, "written");
  }
  EXPECT_EQ(list_row_count(funds), 1);
  EXPECT_EQ(column0(funds), std::vector<Text>{"161725"});
  EXPECT_EQ(list_get_cell(funds, 0, 1), "");
  EXPECT_EQ(list_get_cell(funds, 0, 2), "1.234");
}

TEST_F(ReportListTest, CellTextKeepsEveryByte) {
  // Bytes that are not valid GBK still read back exactly as written.
  Text odd = std::string("\x81\x30\xFF z\x80", 6);
  list_insert_row(funds, 0, odd);
  list_set_cell(funds, 0, 1, gbk("基金经理:张三\r\n"));
  EXPECT_EQ(list_get_cell(funds, 0, 0), odd);
  EXPECT_EQ(list_get_cell(funds, 0, 1), gbk("基金经理:张三\r\n"));
}

TEST_F(ReportListTest, FindRowPrefersColumnZeroIgnoringCase) {
  list_insert_row(funds, -1, "row0");
  list_insert_row(funds, -1, "row1");
  list_insert_row(funds, -1, "AbC");
  list_set_cell(funds, 0, 2, "abc");  // earlier row, column 2, exact
  list_set_cell(funds, 1, 1, "XyZ");  // only in column 1
  list_set_cell(funds, 1, 2, "xyz2");

  struct Case {
    const char* text;
    int row;
  };
  for (Case c : {Case{"abc", 2},   // the later column-0 match wins, case ignored
                 Case{"ABC", 2},   //
                 Case{"XyZ", 1},   // other columns: exact
                 Case{"xyz", -1},  // other columns do not ignore case
                 Case{"ROW1", 1},  //
                 Case{"row", -1},  // whole texts only
                 Case{"nowhere", -1}}) {
    EXPECT_EQ(list_find_row(funds, c.text), c.row) << c.text;
  }
}

TEST_F(ReportListTest, FindRowCaseFoldingLeavesGbkTrailBytesAlone) {
  // 0x81 0x41 and 0x81 0x61 are two different GBK characters whose trail
  // bytes are 'A' and 'a'.
  list_insert_row(funds, -1, std::string("\x81\x41", 2));
  EXPECT_EQ(list_find_row(funds, std::string("\x81\x61", 2)), -1);
  EXPECT_EQ(list_find_row(funds, std::string("\x81\x41", 2)), 0);
  list_insert_row(funds, -1, gbk("基金A"));
  EXPECT_EQ(list_find_row(funds, gbk("基金a")), 1);
}

TEST_F(ReportListTest, FindRowInEmptyListAndEmptyText) {
  EXPECT_EQ(list_find_row(funds, ""), -1);
  list_insert_row(funds, -1, "161725");
  EXPECT_EQ(list_find_row(funds, ""), 0);  // an empty cell in column 1
  EXPECT_EQ(list_find_row(funds, "161725"), 0);
}

TEST_F(ReportListTest, SelectionDeleteAndClear) {
  EXPECT_TRUE(list_selected_rows(funds).empty());
  for (const char* caption : {"a", "b", "c"}) list_insert_row(funds, -1, caption);
  EXPECT_TRUE(list_selected_rows(funds).empty());

  funds.select_row(2);
  EXPECT_EQ(list_selected_rows(funds), std::vector<int>{2});
  list_delete_row(funds, 0);
  EXPECT_EQ(column0(funds), (std::vector<Text>{"b", "c"}));
  EXPECT_EQ(list_selected_rows(funds), std::vector<int>{1});  // the selection moved with its row

  list_delete_row(funds, 2);
  list_delete_row(funds, -1);
  EXPECT_EQ(list_row_count(funds), 2);

  // Deleting the selected row leaves nothing selected: the row below it
  // does not inherit the selection.
  list_delete_row(funds, 1);
  EXPECT_EQ(column0(funds), std::vector<Text>{"b"});
  EXPECT_TRUE(list_selected_rows(funds).empty());

  list_clear(funds);
  EXPECT_EQ(list_row_count(funds), 0);
  EXPECT_TRUE(list_selected_rows(funds).empty());
  EXPECT_EQ(list_column_count(funds), 3);
}

TEST_F(ReportListTest, ViewMode) {
  EXPECT_EQ(list_view_mode(funds), platform::ListViewMode::kReport);
  funds.set_mode(platform::ListViewMode::kList);
  EXPECT_EQ(list_view_mode(funds), platform::ListViewMode::kList);
}

// The rows as the list kept them before it had an index: inserts placed by
// a scan from the top, rows found by a scan of column 0 ignoring ASCII case,
// then of the other columns exactly.
struct ScannedRows {
  bool sorts = false;
  std::vector<std::vector<Text>> rows = {};

  int insert(int position, const Text& caption) {
    int size = static_cast<int>(rows.size());
    if (sorts) {
      position = 0;
      while (position < size && !(rows[position][0] < caption)) ++position;
    } else if (position < 0 || position > size) {
      position = size;
    }
    rows.insert(rows.begin() + position, {caption, "", ""});
    return position;
  }
  int find(const Text& text) const {
    for (std::size_t row = 0; row < rows.size(); ++row) {
      if (equal_ignoring_ascii_case(rows[row][0], text)) return static_cast<int>(row);
    }
    for (std::size_t row = 0; row < rows.size(); ++row) {
      for (int column = 1; column < 3; ++column) {
        if (rows[row][column] == text) return static_cast<int>(row);
      }
    }
    return -1;
  }
};

// Random inserts, renames, cell writes, deletes and clears on both kinds of
// list give the same rows, the same places and the same found rows as the
// scans: equal captions, letter case, GBK characters whose second byte is an
// ASCII letter, empty texts, and renames that break the sorted order.
TEST_F(ReportListTest, IndexedListAgreesWithScanningTheRows) {
  const std::vector<Text> texts = {"600519",
                                   "000858",
                                   "161725",
                                   "abc",
                                   "ABC",
                                   "aBc",
                                   "",
                                   "x",
                                   std::string("\x81\x41", 2),
                                   std::string("\x81\x61", 2),
                                   gbk("基金A"),
                                   gbk("基金a"),
                                   gbk("贵州茅台"),
                                   "0.00"};
  std::mt19937 random(7);
  auto pick = [&] { return texts[random() % texts.size()]; };
  for (ReportList* list : {&funds, &holdings}) {
    ScannedRows scanned{.sorts = list == &holdings};
    for (int step = 0; step < 4000; ++step) {
      int size = static_cast<int>(scanned.rows.size());
      unsigned action = random() % 100;
      if (action < 40) {
        int position = static_cast<int>(random() % (size + 3)) - 1;
        Text caption = pick();
        ASSERT_EQ(list_insert_row(*list, position, caption), scanned.insert(position, caption))
            << step;
      } else if (action < 70 && size > 0) {
        int row = static_cast<int>(random() % size);
        int column = static_cast<int>(random() % 3);
        Text text = pick();
        list_set_cell(*list, row, column, text);
        scanned.rows[row][column] = text;
      } else if (action < 85 && size > 0) {
        int row = static_cast<int>(random() % size);
        list_delete_row(*list, row);
        scanned.rows.erase(scanned.rows.begin() + row);
      } else if (action == 85 && step % 7 == 0) {
        list_clear(*list);
        scanned.rows.clear();
      } else {
        Text text = pick();
        ASSERT_EQ(list_find_row(*list, text), scanned.find(text)) << step;
      }
      ASSERT_EQ(list_row_count(*list), static_cast<int>(scanned.rows.size()));
      if (step % 50 != 0) continue;
      for (std::size_t row = 0; row < scanned.rows.size(); ++row) {
        for (int column = 0; column < 3; ++column) {
          ASSERT_EQ(list_get_cell(*list, static_cast<int>(row), column), scanned.rows[row][column])
              << step;
        }
      }
    }
  }
}

}  // namespace
