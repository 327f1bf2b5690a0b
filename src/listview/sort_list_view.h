// Sorts a report list by one column: a selection sort over a snapshot of the
// cell texts, written back in one go. Pending window events are processed
// after every comparison and every row so the window stays responsive.
// User-interface thread only.
#pragma once

#include <functional>

#include "listview/report_list.h"
#include "text/text.h"

// How keys are compared. Integer and long integer compare as numbers.
enum SortType : int {
  kSortInteger = 3,
  kSortLongInteger = 4,
  kSortNumber = 6,
  kSortDateTime = 8,
  kSortText = 10,
};

struct SortOptions {
  // true: smallest key first; false: largest key first.
  bool ascending = true;
  // Text keys only: false compares both keys with ASCII letters upper-cased.
  bool case_sensitive = false;
  // A SortType code; any other value is refused.
  int sort_type = kSortText;
  // Called wherever pending window events are processed; empty means the
  // window's own event processing.
  std::function<void()> process_events = {};
};

// Sorts `list` by `column` and returns "排序完成", or the first refusal that
// applies: "该超级列表框不是报表类型" (not in report mode), "错误的列索引" (no
// such column), "排序类型不对" (unknown sort type), leaving the list untouched.
// Only cell texts move; rows, their selection and their colours stay. Rows
// with equal keys come out in the reverse of their order before the sort.
// When rows are added or removed, or a column-0 text changes, while the sort
// runs, it writes nothing back and returns "列表在排序时已改变", leaving the
// list as it then is. Changes to other columns are overwritten.
Text sort_list_view(ReportList& list, int column, const SortOptions& options = {});
