#include "text/text_search.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr std::uint64_t kEveryByte = 0x0101010101010101;

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

// Does `word` hold the byte `b`? (A byte of word ^ b is zero exactly where
// `word` has `b`; the expression flags whether any byte is zero.)
bool has_byte(std::uint64_t word, unsigned char b) {
  std::uint64_t v = word ^ (kEveryByte * b);
  return ((v - kEveryByte) & ~v & (kEveryByte * 0x80)) != 0;
}

// find_text's walk resumed at `boundary`, a character start it reached
// before: the first match at or after `from` on the walk's character starts.
std::size_t find_from_boundary(const Text& text, const Text& needle, std::size_t boundary,
                               std::size_t from, TextSearchOptions options) {
  if (needle.empty() || needle.size() > text.size()) return kNotFound;
  const std::size_t last_start = text.size() - needle.size();
  const unsigned char first = first_byte(needle, options);
  // A search ignoring case also starts on the capital of a first letter.
  const unsigned char capital = options.ignore_case && first >= 'a' && first <= 'z'
                                    ? static_cast<unsigned char>(first - 32)
                                    : first;
  std::size_t i = boundary;
  while (i <= last_start) {
    // Eight bytes below 0x80 are eight single-byte characters; when none of
    // them is a first byte, the walk steps over all eight at once.
    if (i + 8 <= text.size()) {
      std::uint64_t word;
      std::memcpy(&word, text.data() + i, 8);
      if ((word & (kEveryByte * 0x80)) == 0 && !has_byte(word, first) && !has_byte(word, capital)) {
        i += 8;
        continue;
      }
    }
    if (i >= from && starts_like(text, i, first, options) && matches_at(text, needle, i, options))
      return i;
    i += character_length(text, i);
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

Text upper_ascii(const Text& text) {
  Text upper = text;
  for (std::size_t i = 0; i < upper.size(); i += character_length(upper, i)) {
    if (upper[i] >= 'a' && upper[i] <= 'z') upper[i] = static_cast<char>(upper[i] - 'a' + 'A');
  }
  return upper;
}

bool equal_ignoring_ascii_case(const Text& a, const Text& b) {
  return a.size() == b.size() && upper_ascii(a) == upper_ascii(b);
}
