// The column-header click of the fund list: sorts the rows by the clicked
// column as text, largest first, then paints every row again from its own
// growth, so the colours follow the moved texts. User-interface thread only.
#pragma once

#include "app/event_table.h"

// Handler of a click on a column header of 超级列表框1; `context.column` is
// the clicked column. Every click sorts descending again.
void sort_fund_list_by_column(const EventContext& context);
