// A report (details) list view: a grid of GBK text cells under a header of
// clickable column titles. Before painting it sends custom-draw notifications
// (prepaint, item prepaint, sub-item prepaint) to its parent window's
// procedure and paints each cell with the colours the record then holds.
// Click events run after the selection reflects the click.
// User-interface thread only.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/control.h"

namespace platform {

class Window;

enum class ListViewMode { kIcon = 0, kReport = 1, kSmallIcon = 2, kList = 3 };

struct ListColumn {
  std::string title = {};  // GBK
  int width = 0;           // pixels
};

struct ReportListOptions {
  Rect geometry = {};                    // in the parent's client area
  std::vector<ListColumn> columns = {};  // left-aligned, in order
  bool full_row_select = false;          // selection shows across the row (else first cell only)
  bool grid_lines = false;               // lines between rows and columns
  bool sort_descending = false;  // every insert goes to its place by column-0 text, highest first
  std::optional<Font> font = std::nullopt;  // empty: the window's default font
};

class ReportListView : public Control {
 public:
  // `parent` receives the list's notifications.
  ReportListView(Window& parent, const ReportListOptions& options);
  ~ReportListView() override;

  int row_count() const;
  int column_count() const;
  std::string column_title(int column) const;
  int column_width(int column) const;
  bool full_row_select() const;
  bool grid_lines() const;
  bool sorts_descending() const;

  // Empty text for a missing row or column.
  std::string cell_text(int row, int column) const;
  // No effect for a missing row or column.
  void set_cell_text(int row, int column, const std::string& text);
  // Inserts a row at `position` (0 on top; negative or past the end appends;
  // a self-sorting list ignores it) and returns the new row's index.
  int insert_row(int position, const std::string& caption);
  // No effect for a missing row.
  void delete_row(int row);
  void delete_all_rows();

  // Finding rows by content, in logarithmic time. Captions (column 0) are
  // matched by the key `folding` makes of them; setting a folding indexes
  // the captions under it. Cells beyond column 0 are matched exactly.
  using CaptionFolding = std::string (*)(const std::string&);
  // The index is a cache of the rows, so setting it does not change the list.
  void set_caption_folding(CaptionFolding folding) const;
  // The first row whose folded caption equals `key`; -1 when none or when no
  // folding is set.
  int first_row_with_caption_key(const std::string& key) const;
  // The first row with a cell beyond column 0 whose text equals `text`; -1
  // when none.
  int first_row_with_cell(const std::string& text) const;

  // Selected rows, ascending.
  std::vector<int> selected_rows() const;
  // Selects the row alone; a missing row leaves nothing selected.
  void select_row(int row);

  // Grows whenever a row is inserted or removed or a column-0 text changes.
  long long revision() const;

  ListViewMode mode() const;
  void set_mode(ListViewMode mode);

  // The list's own colours for item text and the area behind it.
  Colour text_colour() const;
  Colour text_background_colour() const;
  void set_text_colour(Colour colour);
  void set_text_background_colour(Colour colour);

  // Marks the whole list for repainting; it is painted at once, with every
  // change made until then, the next time the window processes its events.
  // Many changes in a row thus cost one paint.
  void repaint();

  // Column-header click, with the column index.
  void on_column_click(std::function<void(int column)> handler);
  // Left and right click anywhere in the list, empty space included.
  void on_left_click(std::function<void()> handler);
  void on_right_click(std::function<void()> handler);

  struct Impl;

 private:
  ReportListView(Window& parent, const ReportListOptions& options, std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

// The live list with this handle; nullptr for any other handle.
ReportListView* report_list_from_handle(WindowHandle handle);

}  // namespace platform
