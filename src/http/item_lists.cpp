#include "http/item_lists.h"

#include "text/text_search.h"

Text unique_items(const Text& text, const Text& separator, ItemSplit split) {
  std::vector<Text> items;
  if (split == ItemSplit::kAtSeparator) {
    items = split_text(text, separator);
  } else {
    split_characters(text, items);
  }
  std::vector<Text> kept;
  for (const Text& item : items) {
    if (item_index(kept, item) == -1) kept.push_back(item);
  }
  Text out;
  for (std::size_t i = 0; i < kept.size(); ++i) {
    if (i > 0) out += separator;
    out += kept[i];
  }
  return out;
}

int split_characters(const Text& text, std::vector<Text>& items) {
  items.clear();
  for (std::size_t i = 0; i < text.size();) {
    std::size_t length = character_length(text, i);
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') length = 2;
    items.push_back(text.substr(i, length));
    i += length;
  }
  return static_cast<int>(items.size());
}

int item_index(const std::vector<Text>& items, const Text& text) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i] == text) return static_cast<int>(i) + 1;
  }
  return -1;
}
