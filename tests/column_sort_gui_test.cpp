// The column-header click of the fund list on the real window: a descending
// text sort, then every row painted again from its own growth.
#include "app/fund_rows.h"
#include "fund_window_fixture.h"

namespace {

class ColumnSortTest : public FundWindowTest {
 protected:
  // Puts rows straight into the fund list: code, name and growth text.
  void put_rows(const std::vector<std::vector<Text>>& rows) {
    for (const auto& row : rows) {
      int r = list_insert_row(w.超级列表框1, -1, row[0]);
      list_set_cell(w.超级列表框1, r, 1, row[1]);
      list_set_cell(w.超级列表框1, r, 3, row[2]);
    }
  }
  std::vector<Text> column(int j) const {
    std::vector<Text> out;
    for (const auto& row : rows()) out.push_back(row[j]);
    return out;
  }
};

TEST_F(ColumnSortTest, GrowthHeaderSortsAsTextLargestFirstAndColoursFollow) {
  put_rows({{"000001", "a", "-0.20%"},
            {"000002", "b", "10.20%"},
            {"000003", "c", "0.00%"},
            {"000004", "d", "-1.00%"},
            {"000005", "e", "9.80%"}});
  recolour_fund_list(w);  // colours recorded for the old order
  platform::probe::click_header(w.超级列表框1, 3);

  // Text order: "9" > "1" > "0" > "-", and "-1.00%" > "-0.20%".
  EXPECT_EQ(column(3), (std::vector<Text>{"9.80%", "10.20%", "0.00%", "-1.00%", "-0.20%"}));
  EXPECT_EQ(codes(), (std::vector<Text>{"000005", "000002", "000003", "000004", "000001"}));
  EXPECT_EQ(column(1), (std::vector<Text>{"e", "b", "c", "d", "a"}));
  EXPECT_EQ(row_colours(), (std::vector<platform::Colour>{kRed, kRed, kGreen, kGreen, kGreen}));
}

TEST_F(ColumnSortTest, EveryClickSortsDescendingAgainIgnoringCase) {
  put_rows({{"b", "x", "1.00%"}, {"A", "y", "-1.00%"}, {"a", "z", "2.00%"}, {"C", "w", "0.00%"}});
  platform::probe::click_header(w.超级列表框1, 0);
  // "A" and "a" are equal keys: the later one comes first.
  EXPECT_EQ(codes(), (std::vector<Text>{"C", "b", "a", "A"}));
  EXPECT_EQ(row_colours(), (std::vector<platform::Colour>{kGreen, kRed, kRed, kGreen}));
  platform::probe::click_header(w.超级列表框1, 0);
  EXPECT_EQ(codes(), (std::vector<Text>{"C", "b", "A", "a"}));
  EXPECT_EQ(row_colours(), (std::vector<platform::Colour>{kGreen, kRed, kGreen, kRed}));
}

}  // namespace
