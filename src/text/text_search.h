// Searching, splitting, trimming and case-folding GBK text.
// A search steps over double-byte characters whole, so a match never starts
// on the second byte of a character. Stateless.
#pragma once

#include <cstddef>
#include <vector>

#include "text/text.h"

struct TextSearchOptions {
  bool ignore_case = false;  // ASCII letters match regardless of case
};

inline constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);

// The byte offset of the first match of `needle` that starts at or after
// `from`; kNotFound when there is none or `needle` is empty.
std::size_t find_text(const Text& text, const Text& needle, std::size_t from = 0,
                      TextSearchOptions options = {});

// The byte offset of the last match of `needle` that ends at or before
// `end`; kNotFound when there is none or `needle` is empty.
std::size_t find_last_text(const Text& text, const Text& needle, std::size_t end,
                           TextSearchOptions options = {});

bool contains_text(const Text& text, const Text& needle, TextSearchOptions options = {});

// `text` with every match of `needle` removed.
Text remove_all(const Text& text, const Text& needle, TextSearchOptions options = {});

// Splits at every `separator`. Empty items between two separators remain;
// the empty item after a final separator (or of an empty text) does not.
std::vector<Text> split_text(const Text& text, const Text& separator);

// Removes ASCII spaces and GBK full-width spaces (A1 A1) from both ends.
// Tabs and line breaks stay.
Text trim_spaces(const Text& text);

// The length in bytes (1 or 2) of the character that starts at `at`: a byte
// of 0x81 or more that is not the last one starts a double-byte character.
std::size_t character_length(const Text& text, std::size_t at);

// `text` with the ASCII letters a to z raised. Walks the text by character,
// so the second byte of a double-byte character keeps its value.
Text upper_ascii(const Text& text);

// Equal when ASCII letter case is ignored; double-byte characters must be
// equal exactly.
bool equal_ignoring_ascii_case(const Text& a, const Text& b);
