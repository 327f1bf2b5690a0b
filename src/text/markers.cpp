#include "text/markers.h"

#include <string_view>

#include "text/quote_placeholder.h"
#include "text/text_view.h"

namespace {

bool is_ascii_letter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

unsigned char ascii_lower(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// Compares `marker` with `text` at `at`, which begins a character. With
// `ignore_case` only single-byte ASCII letters are folded: the trail byte of
// a double-byte character may look like a letter but is compared exactly.
bool marker_at(std::string_view text, size_t at, std::string_view marker, bool ignore_case) {
  if (marker.size() > text.size() - at) return false;
  bool trail = false;
  for (size_t i = 0; i < marker.size(); ++i) {
    unsigned char t = static_cast<unsigned char>(text[at + i]);
    unsigned char m = static_cast<unsigned char>(marker[i]);
    bool fold = ignore_case && !trail && is_ascii_letter(t);
    if (fold ? ascii_lower(t) != ascii_lower(m) : t != m) return false;
    trail = !trail && t >= 0x80;
  }
  return true;
}

// The 0-based index of the first `marker` at or after the 1-based `start`,
// stepping one character at a time; npos when there is none.
size_t find_marker(std::string_view text, std::string_view marker, int start, bool ignore_case) {
  size_t at = start <= 1 ? 0 : static_cast<size_t>(start) - 1;
  while (at < text.size()) {
    if (marker_at(text, at, marker, ignore_case)) return at;
    at += static_cast<unsigned char>(text[at]) >= 0x80 ? 2 : 1;
  }
  return std::string_view::npos;
}

int next_start(size_t index) { return static_cast<int>(index) + 1; }

}  // namespace

Text text_between(const Text& text, const Text& left, const Text& right,
                  TextBetweenOptions options) {
  std::string_view subject = text_view(text);
  Text left_marker = replace_quote_placeholder(text_view(left));
  Text right_marker = replace_quote_placeholder(text_view(right));
  size_t found = find_marker(subject, left_marker, options.start, options.ignore_case);
  if (found == std::string_view::npos) return Text();
  size_t value_at = found + left_marker.size();
  size_t end = find_marker(subject, right_marker, next_start(value_at), options.ignore_case);
  if (end == std::string_view::npos) return Text();
  return Text(subject.substr(value_at, end - value_at));
}

int all_texts_between(const Text& text, const Text& left, const Text& right,
                      std::vector<Text>& results, const AllTextsBetweenOptions& options) {
  results.clear();
  std::string_view subject = text_view(text);
  std::string_view left_marker = text_view(left);
  std::string_view right_marker = text_view(right);
  // An empty left marker is found at every start, so the loop would never end.
  if (left_marker.empty()) return 0;

  int start = options.start;
  for (;;) {
    size_t found = find_marker(subject, left_marker, start, options.ignore_case);
    if (found == std::string_view::npos) break;
    size_t value_at = found + left_marker.size();
    start = next_start(value_at);
    size_t end = find_marker(subject, right_marker, start, options.ignore_case);
    if (end == std::string_view::npos) break;

    Text item;
    if (options.include_left) item.append(left_marker);
    item.append(options.prefix);
    item.append(subject.substr(value_at, end - value_at));
    item.append(options.suffix);
    if (options.include_right) item.append(right_marker);
    if (options.max_length <= 0 || item.size() < static_cast<size_t>(options.max_length)) {
      results.push_back(std::move(item));
    }
    if (options.process_events) options.process_events();
  }
  return static_cast<int>(results.size());
}
