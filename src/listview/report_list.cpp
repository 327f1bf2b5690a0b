#include "listview/report_list.h"

#include "text/text_search.h"

int list_row_count(const ReportList& list) { return list.row_count(); }

int list_column_count(const ReportList& list) { return list.column_count(); }

Text list_get_cell(const ReportList& list, int row, int column) {
  return list.cell_text(row, column);
}

void list_set_cell(ReportList& list, int row, int column, const Text& text) {
  list.set_cell_text(row, column, text);
}

int list_insert_row(ReportList& list, int position, const Text& caption) {
  return list.insert_row(position, caption);
}

int list_find_row(const ReportList& list, const Text& text) {
  // The list keeps its rows indexed by caption under this folding, so both
  // searches take logarithmic time; the folding keeps the length, so equal
  // keys mean equal texts ignoring ASCII letter case.
  list.set_caption_folding(&upper_ascii);
  int row = list.first_row_with_caption_key(upper_ascii(text));
  return row >= 0 ? row : list.first_row_with_cell(text);
}

std::vector<int> list_selected_rows(const ReportList& list) { return list.selected_rows(); }

void list_delete_row(ReportList& list, int row) { list.delete_row(row); }

void list_clear(ReportList& list) { list.delete_all_rows(); }

platform::ListViewMode list_view_mode(const ReportList& list) { return list.mode(); }

long long list_revision(const ReportList& list) { return list.revision(); }
