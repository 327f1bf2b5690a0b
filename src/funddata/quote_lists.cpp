#include "funddata/quote_lists.h"

#include "text/markers.h"

namespace {

const Text& item_or_empty(const std::vector<Text>& items, std::size_t index) {
  static const Text kEmpty;
  return index < items.size() ? items[index] : kEmpty;
}

}  // namespace

QuoteLists cut_quote_lists(const Text& quote_text, const std::function<void()>& process_events) {
  QuoteLists lists;
  AllTextsBetweenOptions plain{.process_events = process_events};
  AllTextsBetweenOptions percent{.suffix = "%", .process_events = process_events};
  all_texts_between(quote_text, "\"f2\":", ",", lists.f2, plain);
  all_texts_between(quote_text, "\"f3\":", ",", lists.f3, percent);
  all_texts_between(quote_text, "\"f9\":", ",", lists.f9, plain);
  all_texts_between(quote_text, "\"f12\":\"", "\",", lists.f12, plain);
  all_texts_between(quote_text, "\"f14\":\"", "\"}", lists.f14, plain);
  return lists;
}

Holding holding_at(const QuoteLists& lists, std::size_t index) {
  return {.code = item_or_empty(lists.f12, index),
          .name = item_or_empty(lists.f14, index),
          .price = item_or_empty(lists.f2, index),
          .pe = item_or_empty(lists.f9, index),
          .change = item_or_empty(lists.f3, index)};
}
