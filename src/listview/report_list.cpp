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
  int rows = list.row_count();
  for (int row = 0; row < rows; ++row) {
    if (equal_ignoring_ascii_case(list.cell_text(row, 0), text)) return row;
  }
  int columns = list.column_count();
  for (int row = 0; row < rows; ++row) {
    for (int column = 1; column < columns; ++column) {
      if (list.cell_text(row, column) == text) return row;
    }
  }
  return -1;
}

std::vector<int> list_selected_rows(const ReportList& list) { return list.selected_rows(); }

void list_delete_row(ReportList& list, int row) { list.delete_row(row); }

void list_clear(ReportList& list) { list.delete_all_rows(); }

platform::ListViewMode list_view_mode(const ReportList& list) { return list.mode(); }

long long list_revision(const ReportList& list) { return list.revision(); }
