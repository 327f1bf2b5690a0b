#include "listview/sort_list_view.h"

#include <gtest/gtest.h>

#include "platform/window.h"
#include "text/gbk_literal.h"

namespace {

using Rows = std::vector<std::vector<Text>>;

class SortListViewTest : public testing::Test {
 protected:
  platform::Window window{{.outer_width = 400, .outer_height = 300}};
  ReportList list{window, {.geometry = {0, 0, 300, 200}, .columns = {{"key", 80}, {"tag", 80}}}};

  void fill(const Rows& rows) {
    list_clear(list);
    for (const auto& row : rows) {
      int r = list_insert_row(list, -1, row[0]);
      for (size_t j = 1; j < row.size(); ++j) list_set_cell(list, r, static_cast<int>(j), row[j]);
    }
  }
  Rows rows() const {
    Rows out;
    for (int r = 0; r < list_row_count(list); ++r)
      out.push_back({list_get_cell(list, r, 0), list_get_cell(list, r, 1)});
    return out;
  }
  std::vector<Text> column(int j) const {
    std::vector<Text> out;
    for (int r = 0; r < list_row_count(list); ++r) out.push_back(list_get_cell(list, r, j));
    return out;
  }
};

TEST_F(SortListViewTest, RefusalsComeInTheirOrderAndLeaveTheListUntouched) {
  const Rows before = {{"b", "1"}, {"a", "2"}};
  struct Case {
    platform::ListViewMode mode;
    int column;
    int sort_type;
    const char* expected;
  } cases[] = {
      {platform::ListViewMode::kList, -1, 5, "该超级列表框不是报表类型"},
      {platform::ListViewMode::kReport, -1, 5, "错误的列索引"},
      {platform::ListViewMode::kReport, 2, kSortText, "错误的列索引"},
      {platform::ListViewMode::kReport, 0, 5, "排序类型不对"},
      {platform::ListViewMode::kReport, 0, 0, "排序类型不对"},
  };
  for (const Case& c : cases) {
    fill(before);
    list.set_mode(c.mode);
    EXPECT_EQ(sort_list_view(list, c.column, {.sort_type = c.sort_type}), gbk(c.expected))
        << c.column << " " << c.sort_type;
    EXPECT_EQ(rows(), before);
  }
}

TEST_F(SortListViewTest, OneRowAndNoRowsAreDone) {
  fill({{"only", "x"}});
  EXPECT_EQ(sort_list_view(list, 0), gbk("排序完成"));
  EXPECT_EQ(rows(), (Rows{{"only", "x"}}));
  fill({});
  EXPECT_EQ(sort_list_view(list, 1), gbk("排序完成"));
  EXPECT_EQ(list_row_count(list), 0);
}

TEST_F(SortListViewTest, KeysOfEachTypeOrderWholeRows) {
  struct Case {
    Rows rows;
    SortOptions options;
    std::vector<Text> expected_tags;
  } cases[] = {
      {{{"pear", "1"}, {"Apple", "2"}, {"fig", "3"}}, {}, {"2", "3", "1"}},
      {{{"pear", "1"}, {"Apple", "2"}, {"fig", "3"}}, {.ascending = false}, {"1", "3", "2"}},
      // Case-sensitive: upper-case letters sort before lower-case ones.
      {{{"pear", "1"}, {"Apple", "2"}, {"apple", "3"}}, {.case_sensitive = true}, {"2", "3", "1"}},
      // A prefix is smaller; GBK double-byte text is above ASCII.
      {{{gbk("基金"), "1"}, {"ab", "2"}, {"a", "3"}}, {}, {"3", "2", "1"}},
      {{{"10", "1"}, {"9.5", "2"}, {"-1", "3"}, {"", "4"}},
       {.sort_type = kSortNumber},
       {"3", "4", "2", "1"}},
      {{{"10", "1"}, {"9.5", "2"}, {"-1", "3"}}, {.sort_type = kSortLongInteger}, {"3", "2", "1"}},
      {{{"10", "1"}, {"9.5", "2"}, {"-1", "3"}}, {.sort_type = kSortInteger}, {"3", "2", "1"}},
      {{{"10", "1"}, {"9.5", "2"}, {"-1", "3"}}, {.sort_type = kSortText}, {"3", "1", "2"}},
      {{{"2026-12-11 09:30", "1"},
        {gbk("2026年1月2日"), "2"},
        {"garbage", "3"},
        {"1899/12/29 06:00", "4"}},
       {.sort_type = kSortDateTime},
       {"3", "4", "2", "1"}},
  };
  for (const Case& c : cases) {
    fill(c.rows);
    EXPECT_EQ(sort_list_view(list, 0, c.options), gbk("排序完成"));
    EXPECT_EQ(column(1), c.expected_tags) << c.rows[0][0];
  }
}

TEST_F(SortListViewTest, EqualKeysSwapOnEverySortInBothDirections) {
  struct Case {
    Rows rows;
    SortOptions options;
  } cases[] = {
      {{{"k", "first"}, {"k", "second"}}, {.ascending = true}},
      {{{"k", "first"}, {"k", "second"}}, {.ascending = false}},
      {{{"1.00", "first"}, {"1.00000001", "second"}}, {.sort_type = kSortNumber}},
      {{{"abc", "first"}, {"ABC", "second"}}, {.ascending = false}},
  };
  for (const Case& c : cases) {
    fill(c.rows);
    sort_list_view(list, 0, c.options);
    EXPECT_EQ(column(1), (std::vector<Text>{"second", "first"})) << c.rows[1][0];
    sort_list_view(list, 0, c.options);
    EXPECT_EQ(column(1), (std::vector<Text>{"first", "second"})) << c.rows[1][0];
  }
  // Only ASCII letters fold: two double-byte characters whose trail bytes are
  // 'a' and 'A' stay different keys, so the sort does not swap them.
  fill({{"\x81\x61", "lower trail"}, {"\x81\x41", "upper trail"}});
  sort_list_view(list, 0, {.ascending = false});
  EXPECT_EQ(column(1), (std::vector<Text>{"lower trail", "upper trail"}));
  // Unless the case counts: then abc is above ABC, whatever the order before.
  fill({{"ABC", "upper"}, {"abc", "lower"}});
  sort_list_view(list, 0, {.ascending = false, .case_sensitive = true});
  EXPECT_EQ(column(1), (std::vector<Text>{"lower", "upper"}));
}

TEST_F(SortListViewTest, ProcessesEventsAndOverwritesOtherColumnsChangedMeanwhile) {
  fill({{"b", "1"}, {"a", "2"}, {"c", "3"}});
  int calls = 0;
  auto changing = [&] {
    if (++calls == 2) list_set_cell(list, 0, 1, "changed");  // during the snapshot
  };
  // Row 0 was read before the change, so its old value is written back.
  EXPECT_EQ(sort_list_view(list, 0, {.process_events = changing}), gbk("排序完成"));
  EXPECT_EQ(rows(), (Rows{{"a", "2"}, {"b", "1"}, {"c", "3"}}));
  // 3 rows: 3 after the snapshot rows, 3 after the key rows, 2 + 1 in the
  // selection passes with 2 picks, 3 after the rewritten rows.
  EXPECT_EQ(calls, 3 + 3 + 3 + 2 + 3);
}

TEST_F(SortListViewTest, RowsChangedDuringTheSortAreNotOverwritten) {
  struct Case {
    const char* what;
    std::function<void(ReportList&)> change;
    Rows expected;
  } cases[] = {
      {"removed", [](ReportList& l) { list_delete_row(l, 0); }, {{"a", "2"}, {"c", "3"}}},
      {"added",
       [](ReportList& l) { list_insert_row(l, 0, "d"); },
       {{"d", ""}, {"b", "1"}, {"a", "2"}, {"c", "3"}}},
      {"renamed",
       [](ReportList& l) { list_set_cell(l, 2, 0, "e"); },
       {{"b", "1"}, {"a", "2"}, {"e", "3"}}},
  };
  for (const Case& c : cases) {
    fill({{"b", "1"}, {"a", "2"}, {"c", "3"}});
    int calls = 0;
    auto events = [&] {
      if (++calls == 7) c.change(list);  // in the selection pass
    };
    EXPECT_EQ(sort_list_view(list, 0, {.process_events = events}), gbk("列表在排序时已改变"))
        << c.what;
    EXPECT_EQ(rows(), c.expected) << c.what;
  }
  // Once the rows are written back, a change no longer undoes the sort.
  fill({{"b", "1"}, {"a", "2"}, {"c", "3"}});
  int calls = 0;
  auto events = [&] {
    if (++calls == 12) list_delete_row(list, 2);  // after the rows were written back
  };
  EXPECT_EQ(sort_list_view(list, 0, {.process_events = events}), gbk("排序完成"));
  EXPECT_EQ(rows(), (Rows{{"a", "2"}, {"b", "1"}}));
}

}  // namespace
