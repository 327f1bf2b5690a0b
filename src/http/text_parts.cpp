#include "http/text_parts.h"

#include <cstdlib>

#include "text/text_search.h"

namespace {

// The first match from 1-based position `start` (clamped to the text).
std::size_t forward(const Text& text, const Text& separator, int start, TextSearchOptions options) {
  std::size_t from = start > 1 ? static_cast<std::size_t>(start - 1) : 0;
  return find_text(text, separator, from, options);
}

// The last match that ends `back` bytes or more before the end.
std::size_t backward(const Text& text, const Text& separator, int back, TextSearchOptions options) {
  std::size_t cut = static_cast<std::size_t>(std::abs(back));
  if (cut > text.size()) return kNotFound;
  return find_last_text(text, separator, text.size() - cut, options);
}

}  // namespace

Text text_before(const Text& text, const Text& separator, TextPartOptions options) {
  TextSearchOptions search{.ignore_case = options.ignore_case};
  std::size_t at = options.start >= 0 ? forward(text, separator, options.start, search)
                                      : backward(text, separator, options.start, search);
  return at == kNotFound ? Text() : text.substr(0, at);
}

Text text_after(const Text& text, const Text& separator, TextPartOptions options) {
  TextSearchOptions search{.ignore_case = options.ignore_case};
  std::size_t at = options.start >= 0 ? backward(text, separator, options.start, search)
                                      : forward(text, separator, -options.start, search);
  return at == kNotFound ? Text() : text.substr(at + separator.size());
}
