#include "http/cookies.h"

#include "http/item_lists.h"
#include "http/text_parts.h"
#include "text/markers.h"
#include "text/text_search.h"

namespace {

// Trims `cookies` in place and gives a final ";" its space, so splitting at
// "; " leaves no empty item.
void tidy(Text& cookies) {
  cookies = trim_spaces(cookies);
  if (!cookies.empty() && cookies.back() == ';') cookies += ' ';
}

bool ends_with(const Text& text, const Text& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

void collect_set_cookie(const Text& line, Text& reply_cookies) {
  if (text_before(line, ": ") != "Set-Cookie") return;
  Text item = contains_text(line, ";")
                  ? text_between(line, "Set-Cookie:", ";")
                  : remove_all(line, "Set-Cookie:", TextSearchOptions{.ignore_case = true});
  reply_cookies += trim_spaces(item) + "; ";
}

Text merge_cookies(Text& old_cookies, Text& new_cookies) {
  tidy(old_cookies);
  tidy(new_cookies);
  std::vector<Text> old_items = split_text(old_cookies, "; ");
  std::vector<Text> items = split_text(new_cookies, "; ");
  std::size_t new_count = items.size();
  for (const Text& item : old_items) {
    std::vector<Text> fresh(items.begin(), items.begin() + new_count);
    if (!has_cookie_named(fresh, cookie_name(item))) items.push_back(item);
  }
  Text merged;
  for (const Text& item : items) {
    if (!ends_with(item, "=deleted")) merged += item + "; ";
  }
  if (merged.size() >= 2) merged.resize(merged.size() - 2);
  old_cookies = unique_items(merged, "; ", ItemSplit::kAtSeparator);
  return old_cookies;
}

Text cookie_name(const Text& item) {
  std::size_t equals = find_text(item, "=");
  return trim_spaces(equals == kNotFound ? item : item.substr(0, equals));
}

bool has_cookie_named(const std::vector<Text>& items, const Text& name) {
  for (const Text& item : items) {
    if (cookie_name(item) == name) return true;
  }
  return false;
}
