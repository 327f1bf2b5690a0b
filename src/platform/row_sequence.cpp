#include "platform/row_sequence.h"

#include <utility>

namespace platform::internal {

// A treap ordered by position: each node knows the size of its subtree, so
// an index is found by walking down, and its parent, so a node's index is
// found by walking up. Random priorities keep the expected depth logarithmic.
struct RowSequence::Node {
  Cells cells;
  Node* left = nullptr;
  Node* right = nullptr;
  Node* parent = nullptr;
  std::uint64_t priority = 0;
  int size = 1;
};

namespace {

using Node = RowSequence::Node;

int subtree_size(const Node* node) { return node != nullptr ? node->size : 0; }

void update(Node* node) {
  node->size = 1 + subtree_size(node->left) + subtree_size(node->right);
  if (node->left != nullptr) node->left->parent = node;
  if (node->right != nullptr) node->right->parent = node;
}

// Splits `node` into its first `count` rows and the rest.
void split(Node* node, int count, Node** first, Node** rest) {
  if (node == nullptr) {
    *first = *rest = nullptr;
    return;
  }
  if (subtree_size(node->left) < count) {
    split(node->right, count - subtree_size(node->left) - 1, &node->right, rest);
    *first = node;
  } else {
    split(node->left, count, first, &node->left);
    *rest = node;
  }
  update(node);
}

Node* merge(Node* first, Node* rest) {
  if (first == nullptr) return rest;
  if (rest == nullptr) return first;
  if (first->priority > rest->priority) {
    first->right = merge(first->right, rest);
    update(first);
    return first;
  }
  rest->left = merge(first, rest->left);
  update(rest);
  return rest;
}

Node* make_root(Node* node) {
  if (node != nullptr) node->parent = nullptr;
  return node;
}

void destroy(Node* node) {
  // Depth-first without recursion: a deep tree cannot overflow the stack.
  while (node != nullptr) {
    if (node->left != nullptr) {
      Node* left = node->left;
      node->left = left->right;
      left->right = node;
      node = left;
    } else {
      Node* right = node->right;
      delete node;
      node = right;
    }
  }
}

}  // namespace

RowSequence::~RowSequence() { clear(); }

int RowSequence::size() const { return subtree_size(root_); }

RowSequence::RowId RowSequence::at(int position) const {
  const Node* node = root_;
  while (node != nullptr) {
    int left = subtree_size(node->left);
    if (position < left) {
      node = node->left;
    } else if (position == left) {
      return node;
    } else {
      position -= left + 1;
      node = node->right;
    }
  }
  return nullptr;
}

RowSequence::Cells& RowSequence::cells(int position) {
  return const_cast<Node*>(at(position))->cells;
}

const RowSequence::Cells& RowSequence::cells(int position) const { return at(position)->cells; }

const RowSequence::Cells& RowSequence::cells_of(RowId row) { return row->cells; }

RowSequence::Cells& RowSequence::mutable_cells_of(RowId row) {
  return const_cast<Node*>(row)->cells;
}

const RowSequence::Node* RowSequence::left_of(const Node* node) { return node->left; }

const RowSequence::Node* RowSequence::right_of(const Node* node) { return node->right; }

int RowSequence::size_of(const Node* node) { return node != nullptr ? node->size : 0; }

int RowSequence::position_of(RowId row) const {
  int position = subtree_size(row->left);
  for (const Node* node = row; node->parent != nullptr; node = node->parent) {
    if (node == node->parent->right) position += subtree_size(node->parent->left) + 1;
  }
  return position;
}

RowSequence::RowId RowSequence::insert(int position, Cells cells) {
  auto* node = new Node{.cells = std::move(cells)};
  // xorshift64: priorities need only be spread, not unpredictable.
  seed_ ^= seed_ << 13;
  seed_ ^= seed_ >> 7;
  seed_ ^= seed_ << 17;
  node->priority = seed_;
  Node *first = nullptr, *rest = nullptr;
  split(root_, position, &first, &rest);
  root_ = make_root(merge(merge(make_root(first), node), make_root(rest)));
  return node;
}

void RowSequence::erase(int position) {
  Node *first = nullptr, *middle = nullptr, *rest = nullptr;
  split(root_, position, &first, &rest);
  split(make_root(rest), 1, &middle, &rest);
  delete middle;
  root_ = make_root(merge(make_root(first), make_root(rest)));
}

void RowSequence::clear() {
  destroy(root_);
  root_ = nullptr;
}

}  // namespace platform::internal
