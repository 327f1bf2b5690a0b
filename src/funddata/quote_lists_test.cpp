#include "funddata/quote_lists.h"

#include <gtest/gtest.h>

namespace {

TEST(QuoteListsTest, CutsFiveListsInReplyOrder) {
  const Text reply =
      "cb({\"data\":{\"total\":2,\"diff\":["
      "{\"f2\":8.76,\"f3\":0.00,\"f9\":15.3,\"f12\":\"000011\",\"f14\":\"AA\"},"
      "{\"f2\":45.6,\"f3\":-1.02,\"f9\":-60.7,\"f12\":\"300012\",\"f14\":\"BB\"}]}});";
  int events = 0;
  QuoteLists lists = cut_quote_lists(reply, [&] { ++events; });
  EXPECT_EQ(lists.f2, (std::vector<Text>{"8.76", "45.6"}));
  EXPECT_EQ(lists.f3, (std::vector<Text>{"0.00%", "-1.02%"}));
  EXPECT_EQ(lists.f9, (std::vector<Text>{"15.3", "-60.7"}));
  EXPECT_EQ(lists.f12, (std::vector<Text>{"000011", "300012"}));
  EXPECT_EQ(lists.f14, (std::vector<Text>{"AA", "BB"}));
  EXPECT_EQ(events, 10);  // once after every item of every list
  Holding second = holding_at(lists, 1);
  EXPECT_EQ(second.code, "300012");
  EXPECT_EQ(second.name, "BB");
  EXPECT_EQ(second.price, "45.6");
  EXPECT_EQ(second.pe, "-60.7");
  EXPECT_EQ(second.change, "-1.02%");
}

TEST(QuoteListsTest, NothingToCut) {
  for (const Text& reply : {Text(), Text("cb({\"data\":null});"), Text("<html>500</html>")}) {
    QuoteLists lists = cut_quote_lists(reply);
    EXPECT_TRUE(lists.f2.empty() && lists.f3.empty() && lists.f9.empty() && lists.f12.empty() &&
                lists.f14.empty())
        << reply;
  }
}

// The lists pair up by index; a list that runs out before f14 leaves those
// cells empty instead of reading past its end.
TEST(QuoteListsTest, ShorterListsLeaveTheirCellsEmpty) {
  QuoteLists lists{
      .f2 = {"1.1"}, .f3 = {}, .f9 = {"9", "9.5"}, .f12 = {"600013"}, .f14 = {"X", "Y", "Z"}};
  struct Case {
    std::size_t index;
    Holding expected;
  };
  const Case cases[] = {
      {0, {.code = "600013", .name = "X", .price = "1.1", .pe = "9", .change = ""}},
      {1, {.code = "", .name = "Y", .price = "", .pe = "9.5", .change = ""}},
      {2, {.code = "", .name = "Z", .price = "", .pe = "", .change = ""}},
  };
  for (const Case& c : cases) {
    Holding h = holding_at(lists, c.index);
    EXPECT_EQ(h.code, c.expected.code) << c.index;
    EXPECT_EQ(h.name, c.expected.name) << c.index;
    EXPECT_EQ(h.price, c.expected.price) << c.index;
    EXPECT_EQ(h.pe, c.expected.pe) << c.index;
    EXPECT_EQ(h.change, c.expected.change) << c.index;
  }
}

}  // namespace
