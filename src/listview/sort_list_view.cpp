#include "listview/sort_list_view.h"

#include <vector>

#include "listview/date_time.h"
#include "platform/events.h"
#include "text/gbk_literal.h"
#include "text/number.h"
#include "text/text_search.h"

namespace {

struct KeyRecord {
  Text key;
  int row;
};

// Whether `e` replaces `candidate` as the record picked next: the later
// record wins on equality, in both directions.
bool takes_over(const Text& candidate, const Text& e, const SortOptions& options) {
  switch (options.sort_type) {
    case kSortInteger:
    case kSortLongInteger:
    case kSortNumber: {
      const double difference = text_to_number(candidate) - text_to_number(e);
      return options.ascending ? difference >= -1e-7 : difference <= 1e-7;
    }
    case kSortDateTime: {
      const double a = date_time_sort_key(candidate), b = date_time_sort_key(e);
      return options.ascending ? a >= b : a <= b;
    }
    default: {
      const int order = options.case_sensitive ? candidate.compare(e)
                                               : upper_ascii(candidate).compare(upper_ascii(e));
      return options.ascending ? order >= 0 : order <= 0;
    }
  }
}

bool is_known_sort_type(int sort_type) {
  switch (sort_type) {
    case kSortInteger:
    case kSortLongInteger:
    case kSortNumber:
    case kSortDateTime:
    case kSortText:
      return true;
  }
  return false;
}

}  // namespace

Text sort_list_view(ReportList& list, int column, const SortOptions& options) {
  if (list_view_mode(list) != platform::ListViewMode::kReport)
    return gbk("该超级列表框不是报表类型");
  if (column < 0 || column > list_column_count(list) - 1) return gbk("错误的列索引");
  if (!is_known_sort_type(options.sort_type)) return gbk("排序类型不对");

  const std::function<void()> process_events =
      options.process_events ? options.process_events : platform::process_pending_events;
  const int row_count = list_row_count(list);
  const int column_count = list_column_count(list);
  const long long revision_at_start = list_revision(list);

  std::vector<std::vector<Text>> snapshot(row_count);
  for (int r = 0; r < row_count; ++r) {
    snapshot[r].reserve(column_count);
    for (int j = 0; j < column_count; ++j) snapshot[r].push_back(list_get_cell(list, r, j));
    process_events();
  }

  std::vector<KeyRecord> records;
  records.reserve(row_count);
  for (int r = 0; r < row_count; ++r) {
    records.push_back({snapshot[r][column], r});
    process_events();
  }

  std::vector<int> order;
  order.reserve(row_count);
  while (records.size() > 1) {
    size_t candidate = 0;
    for (size_t i = 1; i < records.size(); ++i) {
      if (takes_over(records[candidate].key, records[i].key, options)) candidate = i;
      process_events();
    }
    order.push_back(records[candidate].row);
    records.erase(records.begin() + static_cast<std::ptrdiff_t>(candidate));
    process_events();
  }
  if (!records.empty()) order.push_back(records.front().row);

  // Writing the snapshot back over rows that were added, removed or renamed
  // meanwhile would bring a removed fund back and drop another, so the sort
  // gives up when the rows are no longer the ones it read. The rows are
  // written back in one go, without processing events between them, so no
  // handler ever sees or changes a half-written list; the events are
  // processed afterwards, once per row written.
  if (list_revision(list) != revision_at_start) return gbk("列表在排序时已改变");
  for (int p = 0; p < row_count; ++p) {
    for (int j = 0; j < column_count; ++j) list_set_cell(list, p, j, snapshot[order[p]][j]);
  }
  for (int p = 0; p < row_count; ++p) process_events();
  return gbk("排序完成");
}
