// Lists of text items: splitting a GBK text into characters, finding an item
// and dropping repeated items. Stateless.
#pragma once

#include <vector>

#include "text/text.h"

enum class ItemSplit {
  kAtSeparator,     // items are the pieces between separators
  kIntoCharacters,  // items are the text's characters
};

// `text` with each item kept only the first time it occurs; the kept items
// are joined with `separator`, without one after the last.
Text unique_items(const Text& text, const Text& separator, ItemSplit split);

// Empties `items` and fills it with the characters of `text`: a GBK
// double-byte character, a CR LF pair, or any other single byte. Returns the
// number of items.
int split_characters(const Text& text, std::vector<Text>& items);

// The 1-based position of the first item equal to `text`, or -1.
int item_index(const std::vector<Text>& items, const Text& text);
