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
  // The current index of a row that is in the sequence.
  int position_of(RowId row) const;
  // `position` in [0, size()]; the rows from there on move down one.
  RowId insert(int position, Cells cells);
  // `position` in [0, size()).
  void erase(int position);
  void clear();

 private:
  Node* root_ = nullptr;
  std::uint64_t seed_ = 0x9E3779B97F4A7C15ull;
};

}  // namespace platform::internal
