#include "http/text_search.h"

namespace {

unsigned char fold(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }

// Does `needle` occur at byte `at` of `text`? Letter case is folded only on
// single-byte characters, never on the second byte of a GBK character.
bool matches_at(const Text& text, const Text& needle, std::size_t at, TextSearchOptions options) {
  if (at + needle.size() > text.size()) return false;
  std::size_t i = 0;
  while (i < needle.size()) {
    std::size_t length = character_length(needle, i);
    if (length == 1) {
      auto a = static_cast<unsigned char>(text[at + i]);
      auto b = static_cast<unsigned char>(needle[i]);
      if (options.ignore_case ? fold(a) != fold(b) : a != b) return false;
    } else if (text.compare(at + i, length, needle, i, length) != 0) {
      return false;
    }
    i += length;
  }
  return true;
}

// The byte a match must start with, compared the way matches_at compares
// it, so most places are ruled out without a call. Folding is harmless on
// the lead byte of a double-byte character: it leaves bytes of 0x81 and more
// alone.
unsigned char first_byte(const Text& needle, TextSearchOptions options) {
  auto b = static_cast<unsigned char>(needle[0]);
  return options.ignore_case ? fold(b) : b;
}

bool starts_like(const Text& text, std::size_t at, unsigned char first, TextSearchOptions options) {
  auto a = static_cast<unsigned char>(text[at]);
  return (options.ignore_case ? fold(a) : a) == first;
}

// find_text's walk resumed at `boundary`, a character start it reached
// before: the first match at or after `from` on the walk's character starts.
std::size_t find_from_boundary(const Text& text, const Text& needle, std::size_t boundary,
                               std::size_t from, TextSearchOptions options) {
  if (needle.empty()) return kNotFound;
  unsigned char first = first_byte(needle, options);
  for (std::size_t i = boundary; i + needle.size() <= text.size(); i += character_length(text, i)) {
    if (i >= from && starts_like(text, i, first, options) && matches_at(text, needle, i, options))
      return i;
  }
  return kNotFound;
}

}  // namespace

std::size_t character_length(const Text& text, std::size_t at) {
  return static_cast<unsigned char>(text[at]) >= 0x81 && at + 1 < text.size() ? 2 : 1;
}

std::size_t find_text(const Text& text, const Text& needle, std::size_t from,
                      TextSearchOptions options) {
  return find_from_boundary(text, needle, 0, from, options);
}

std::size_t find_last_text(const Text& text, const Text& needle, std::size_t end,
                           TextSearchOptions options) {
  if (needle.empty()) return kNotFound;
  std::size_t found = kNotFound;
  unsigned char first = first_byte(needle, options);
  for (std::size_t i = 0; i + needle.size() <= text.size() && i + needle.size() <= end;
       i += character_length(text, i)) {
    if (starts_like(text, i, first, options) && matches_at(text, needle, i, options)) found = i;
  }
  return found;
}

bool contains_text(const Text& text, const Text& needle, TextSearchOptions options) {
  return find_text(text, needle, 0, options) != kNotFound;
}

Text remove_all(const Text& text, const Text& needle, TextSearchOptions options) {
  Text out;
  std::size_t i = 0;
  while (i < text.size()) {
    if (!needle.empty() && matches_at(text, needle, i, options)) {
      i += needle.size();
      continue;
    }
    std::size_t length = character_length(text, i);
    out.append(text, i, length);
    i += length;
  }
  return out;
}

std::vector<Text> split_text(const Text& text, const Text& separator) {
  std::vector<Text> items;
  std::size_t start = 0;
  // Each search goes on from the last match, a character start, rather than
  // walking the text from its beginning again.
  std::size_t boundary = 0;
  while (true) {
    std::size_t at = find_from_boundary(text, separator, boundary, start, {});
    boundary = at;
    if (at == kNotFound) break;
    items.push_back(text.substr(start, at - start));
    start = at + separator.size();
  }
  if (start < text.size()) items.push_back(text.substr(start));
  return items;
}

Text trim_spaces(const Text& text) {
  // Walk the characters once, so a full-width space is told apart from the
  // second byte of one character and the first byte of the next.
  std::size_t first = kNotFound, last_end = 0;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t length = character_length(text, i);
    bool space =
        (length == 1 && text[i] == ' ') || (length == 2 && text.compare(i, 2, "\xA1\xA1") == 0);
    if (!space) {
      if (first == kNotFound) first = i;
      last_end = i + length;
    }
    i += length;
  }
  return first == kNotFound ? Text() : text.substr(first, last_end - first);
}
