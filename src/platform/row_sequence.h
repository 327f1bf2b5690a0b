// The rows of a report list in their order, as a balanced tree keyed by
// position: reaching a row by its index, finding the index of a row,
// inserting and removing a row anywhere each take logarithmic time. A row
// keeps its identity (its RowId) while rows around it come and go.
// Owned by one list; user-interface thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform::internal {

class RowSequence {
 public:
  struct Node;
  using RowId = const Node*;
  using Cells = std::vector<std::string>;

  RowSequence() = default;
  ~RowSequence();
  RowSequence(const RowSequence&) = delete;
  RowSequence& operator=(const RowSequence&) = delete;

  int size() const;
  // `position` must be in [0, size()).
  RowId at(int position) const;
  Cells& cells(int position);
  const Cells& cells(int position) const;
  static const Cells& cells_of(RowId row);
  Cells& mutable_cells_of(RowId row);
  // The first position whose row satisfies `test`, or size() when none, for
  // a test that is false for a leading run of rows and true for the rest.
  template <typename Test>
  int first_position_where(Test test) const;
  // The current index of a row that is in the sequence.
  int position_of(RowId row) const;
  // `position` in [0, size()]; the rows from there on move down one.
  RowId insert(int position, Cells cells);
  // `position` in [0, size()).
  void erase(int position);
  void clear();

 private:
  static const Node* left_of(const Node* node);
  static const Node* right_of(const Node* node);
  static int size_of(const Node* node);

  Node* root_ = nullptr;
  std::uint64_t seed_ = 0x9E3779B97F4A7C15ull;
};

template <typename Test>
int RowSequence::first_position_where(Test test) const {
  // One walk down: a row that passes may be the answer, and an earlier one
  // can only lie to its left; a row that fails sends the search right.
  int answer = size();
  int before = 0;  // rows left of the current subtree
  for (const Node* node = root_; node != nullptr;) {
    int position = before + size_of(left_of(node));
    if (test(cells_of(node))) {
      answer = position;
      node = left_of(node);
    } else {
      before = position + 1;
      node = right_of(node);
    }
  }
  return answer;
}

}  // namespace platform::internal
