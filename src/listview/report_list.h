// The operations the program needs of a report list view: the ReportList
// contract that the fund rows, the detail panel, the cell colours and the
// column sort are written against. User-interface thread only.
#pragma once

#include <vector>

#include "platform/report_list_view.h"
#include "text/text.h"

using ReportList = platform::ReportListView;

// Number of rows.
int list_row_count(const ReportList& list);
// Number of header columns.
int list_column_count(const ReportList& list);
// The cell's whole text; empty text for a row or column that does not exist.
Text list_get_cell(const ReportList& list, int row, int column);
// Replaces the cell's text; no effect for a missing row or column.
void list_set_cell(ReportList& list, int row, int column, const Text& text);
// Inserts a row with `caption` in column 0 and the other cells empty.
// Position 0 puts it on top, a negative or too large position appends; a
// self-sorting list puts it in its sorted place. Returns the new row's index.
int list_insert_row(ReportList& list, int position, const Text& caption);
// The first row whose column 0 equals `text` ignoring ASCII letter case;
// failing that, the first row (rows in order, within a row columns 1 upward)
// with a cell exactly equal to `text`; -1 when none.
int list_find_row(const ReportList& list, const Text& text);
// Indices of all selected rows, ascending; empty when none.
std::vector<int> list_selected_rows(const ReportList& list);
// Removes the row; the rows below move up one. No effect for a missing row.
void list_delete_row(ReportList& list, int row);
// Removes all rows.
void list_clear(ReportList& list);
// A count that grows whenever a row is inserted or removed or a column-0
// text changes, so a long operation can tell that the rows it saw moved.
long long list_revision(const ReportList& list);
// The view mode; only report mode is sortable.
platform::ListViewMode list_view_mode(const ReportList& list);
