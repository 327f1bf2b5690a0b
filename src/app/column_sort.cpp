#include "app/column_sort.h"

#include "app/fund_rows.h"
#include "listview/sort_list_view.h"

void sort_fund_list_by_column(const EventContext& context) {
  // The status text is for other callers; a refusal leaves the list as it
  // was and the recolouring below is still right.
  sort_list_view(context.window.超级列表框1, context.column, {.ascending = false});
  recolour_fund_list(context.window);
}
