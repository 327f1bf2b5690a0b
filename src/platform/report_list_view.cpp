#include "platform/report_list_view.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableView>
#include <algorithm>
#include <unordered_map>

#include "platform/handles.h"
#include "platform/native_widget.h"
#include "platform/row_sequence.h"
#include "platform/window.h"

namespace platform {

namespace {

constexpr Colour kBlack = 0x000000;
constexpr Colour kWhite = 0xFFFFFF;
constexpr int kTextPadding = 6;

class ListModel : public QAbstractTableModel {
 public:
  std::vector<ListColumn> columns;
  internal::RowSequence rows;  // each row holds one text per column

  int rowCount(const QModelIndex& parent = QModelIndex()) const override {
    return parent.isValid() ? 0 : rows.size();
  }
  int columnCount(const QModelIndex& parent = QModelIndex()) const override {
    return parent.isValid() ? 0 : static_cast<int>(columns.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    return internal::from_gbk(rows.cells(index.row())[index.column()]);
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || section < 0 ||
        section >= static_cast<int>(columns.size())) {
      return {};
    }
    if (role == Qt::DisplayRole) return internal::from_gbk(columns[section].title);
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
  }
  Qt::ItemFlags flags(const QModelIndex& index) const override {
    return index.isValid() ? (Qt::ItemIsEnabled | Qt::ItemIsSelectable) : Qt::NoItemFlags;
  }

  internal::RowSequence::RowId insert(int position, const std::string& caption) {
    rows_about_to_insert(position);
    std::vector<std::string> row(columns.size());
    if (!row.empty()) row[0] = caption;
    internal::RowSequence::RowId id = rows.insert(position, std::move(row));
    endInsertRows();
    return id;
  }
  void remove(int row) {
    beginRemoveRows(QModelIndex(), row, row);
    rows.erase(row);
    endRemoveRows();
  }
  void remove_all() {
    beginResetModel();
    rows.clear();
    endResetModel();
  }
  void changed(int row, int column) {
    QModelIndex cell = index(row, column);
    emit dataChanged(cell, cell);
  }

 private:
  void rows_about_to_insert(int position) { beginInsertRows(QModelIndex(), position, position); }
};

using RowId = internal::RowSequence::RowId;

// The rows that hold one text, and the topmost of them once known. Rows
// keep their relative order while others come and go, so the topmost only
// needs finding again when it leaves the group.
struct RowGroup {
  std::unordered_map<RowId, int> members;  // row -> how many of its cells hold the text
  RowId first = nullptr;                   // null: not known
};

// Where rows are found by content: the rows of each folded caption, and the
// rows of each text in the columns after the first.
class RowIndex {
 public:
  explicit RowIndex(const internal::RowSequence& rows) : rows_(rows) {}

  void add(std::unordered_map<std::string, RowGroup>& groups, const std::string& key, RowId row) {
    RowGroup& group = groups[key];
    if (group.members[row]++ > 0) return;
    if (group.members.size() == 1) {
      group.first = row;
    } else if (group.first != nullptr && rows_.position_of(row) < rows_.position_of(group.first)) {
      group.first = row;
    }
  }

  void remove(std::unordered_map<std::string, RowGroup>& groups, const std::string& key,
              RowId row) {
    auto found = groups.find(key);
    if (found == groups.end()) return;
    RowGroup& group = found->second;
    auto member = group.members.find(row);
    if (member == group.members.end() || --member->second > 0) return;
    group.members.erase(member);
    if (group.members.empty()) {
      groups.erase(found);
    } else if (group.first == row) {
      group.first = nullptr;
    }
  }

  int first(std::unordered_map<std::string, RowGroup>& groups, const std::string& key) const {
    auto found = groups.find(key);
    if (found == groups.end()) return -1;
    RowGroup& group = found->second;
    if (group.first == nullptr) {
      int best = -1;
      for (const auto& [row, count] : group.members) {
        int position = rows_.position_of(row);
        if (best < 0 || position < best) {
          best = position;
          group.first = row;
        }
      }
    }
    return rows_.position_of(group.first);
  }

 private:
  const internal::RowSequence& rows_;
};

class ListWidget;

}  // namespace

struct ReportListView::Impl {
  ReportListView* owner = nullptr;
  WindowHandle parent = WindowHandle::kNone;
  ListModel model;
  ListWidget* view = nullptr;
  bool full_row_select = false;
  bool sort_descending = false;
  ListViewMode mode = ListViewMode::kReport;
  long long revision = 0;
  Colour text_colour = kBlack;
  Colour text_background = kWhite;
  std::function<void(int)> column_click;
  std::function<void()> left_click;
  std::function<void()> right_click;

  // Custom-draw state of the paint in progress.
  bool notify_items = false;
  bool notify_sub_items = false;
  int item_in_paint = -1;
  Colour item_text = kBlack;
  Colour item_background = kWhite;

  NotifyHeader custom_draw_header() const {
    return NotifyHeader{.from = owner->handle(), .id = 0, .code = kNmCustomDraw};
  }

  MessageResult notify(ListCustomDraw& record) {
    return send_message(parent, kWmNotify, 0, reinterpret_cast<std::intptr_t>(&record));
  }

  void begin_paint() {
    ListCustomDraw record{.header = custom_draw_header(),
                          .draw_stage = kCddsPrepaint,
                          .text_colour = text_colour,
                          .text_background_colour = text_background};
    notify_items = (notify(record) & kCdrfNotifyItemDraw) != 0;
    item_in_paint = -1;
  }

  // The colours of one cell in the paint in progress, asking the parent once
  // per item and then once per cell when it wants to be asked.
  std::pair<Colour, Colour> cell_colours(int row, int column) {
    if (!notify_items) return {text_colour, text_background};
    if (row != item_in_paint) {
      item_in_paint = row;
      ListCustomDraw record{.header = custom_draw_header(),
                            .draw_stage = kCddsItemPrepaint,
                            .item = static_cast<std::uintptr_t>(row),
                            .text_colour = text_colour,
                            .text_background_colour = text_background};
      notify_sub_items = (notify(record) & kCdrfNotifySubItemDraw) != 0;
      item_text = record.text_colour;
      item_background = record.text_background_colour;
    }
    if (!notify_sub_items) return {item_text, item_background};
    ListCustomDraw record{.header = custom_draw_header(),
                          .draw_stage = kCddsItemPrepaint | kCddsSubItem,
                          .item = static_cast<std::uintptr_t>(row),
                          .sub_item = column,
                          .text_colour = item_text,
                          .text_background_colour = item_background};
    notify(record);
    return {record.text_colour, record.text_background_colour};
  }

  // Finding rows by content.
  ReportListView::CaptionFolding folding = nullptr;
  RowIndex index{model.rows};
  mutable std::unordered_map<std::string, RowGroup> by_caption;  // folded caption -> rows
  mutable std::unordered_map<std::string, RowGroup> by_cell;     // text beyond column 0 -> rows
  // Neighbours out of descending caption order (a caption below the next
  // one); while there are none, the rows are sorted and searched by halves.
  int order_breaks = 0;

  const std::string& caption(int row) const {
    static const std::string kNone;
    const auto& cells = model.rows.cells(row);
    return cells.empty() ? kNone : cells[0];
  }

  // 1 when rows `upper` and `upper + 1` both exist and are out of order.
  int order_break(int upper) const {
    if (upper < 0 || upper + 1 >= model.rows.size()) return 0;
    return caption(upper) < caption(upper + 1) ? 1 : 0;
  }

  void index_row(RowId row) {
    const auto& cells = internal::RowSequence::cells_of(row);
    if (folding != nullptr && !cells.empty()) index.add(by_caption, folding(cells[0]), row);
    for (std::size_t column = 1; column < cells.size(); ++column) {
      index.add(by_cell, cells[column], row);
    }
  }

  void unindex_row(RowId row) {
    const auto& cells = internal::RowSequence::cells_of(row);
    if (folding != nullptr && !cells.empty()) index.remove(by_caption, folding(cells[0]), row);
    for (std::size_t column = 1; column < cells.size(); ++column) {
      index.remove(by_cell, cells[column], row);
    }
  }

  int sorted_position(const std::string& text) const {
    // Highest first; a caption equal to existing ones goes after them: the
    // first row whose caption is below the new one.
    int rows = model.rows.size();
    if (order_breaks > 0) {
      for (int row = 0; row < rows; ++row) {
        if (caption(row) < text) return row;
      }
      return rows;
    }
    return model.rows.first_position_where([&](const internal::RowSequence::Cells& cells) {
      static const std::string kNone;
      return (cells.empty() ? kNone : cells[0]) < text;
    });
  }
};

namespace {

class CellDelegate : public QStyledItemDelegate {
 public:
  CellDelegate(ReportListView::Impl* impl, QObject* parent)
      : QStyledItemDelegate(parent), impl_(impl) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;

 private:
  ReportListView::Impl* impl_;
};

class ListWidget : public QTableView {
 public:
  ListWidget(ReportListView::Impl* impl, QWidget* parent) : QTableView(parent), impl_(impl) {}

 protected:
  void paintEvent(QPaintEvent* event) override {
    impl_->begin_paint();
    QTableView::paintEvent(event);
  }

  void mousePressEvent(QMouseEvent* event) override {
    setFocus(Qt::MouseFocusReason);
    QModelIndex hit = indexAt(event->position().toPoint());
    if (hit.isValid()) {
      impl_->owner->select_row(hit.row());
    } else {
      clearSelection();
      selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    pressed_ = event->button();
    event->accept();
  }

  void mouseDoubleClickEvent(QMouseEvent* event) override {
    // The second press of a double click selects but raises no click.
    mousePressEvent(event);
    pressed_ = Qt::NoButton;
  }

  void mouseMoveEvent(QMouseEvent* event) override { event->accept(); }

  void mouseReleaseEvent(QMouseEvent* event) override {
    Qt::MouseButton pressed = pressed_;
    pressed_ = Qt::NoButton;
    event->accept();
    if (pressed != event->button() || !rect().contains(event->position().toPoint())) return;
    if (pressed == Qt::LeftButton && impl_->left_click) impl_->left_click();
    if (pressed == Qt::RightButton && impl_->right_click) impl_->right_click();
  }

 private:
  ReportListView::Impl* impl_;
  Qt::MouseButton pressed_ = Qt::NoButton;
};

void CellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
  auto [text, background] = impl_->cell_colours(index.row(), index.column());
  bool selected = option.state.testFlag(QStyle::State_Selected) && impl_->view->hasFocus() &&
                  (impl_->full_row_select || index.column() == 0);
  QColor fill =
      selected ? option.palette.color(QPalette::Highlight) : internal::to_qcolor(background);
  QColor pen =
      selected ? option.palette.color(QPalette::HighlightedText) : internal::to_qcolor(text);
  painter->save();
  painter->fillRect(option.rect, fill);
  painter->setPen(pen);
  painter->setFont(option.font);
  QRect text_rect = option.rect.adjusted(kTextPadding, 0, -kTextPadding, 0);
  QString shown =
      option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight, text_rect.width());
  painter->drawText(text_rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
  painter->restore();
}

std::unique_ptr<NativeWidget> make_list(ReportListView::Impl* impl, Window& parent) {
  auto* view = new ListWidget(impl, internal::widget_of(&parent));
  impl->view = view;
  return std::make_unique<NativeWidget>(view);
}

}  // namespace

ReportListView::ReportListView(Window& parent, const ReportListOptions& options)
    : ReportListView(parent, options, std::make_unique<Impl>()) {}

ReportListView::ReportListView(Window& parent, const ReportListOptions& options,
                               std::unique_ptr<Impl> impl)
    : Control(&parent, make_list(impl.get(), parent), options.geometry, options.font),
      impl_(std::move(impl)) {
  impl_->owner = this;
  impl_->parent = parent.handle();
  impl_->full_row_select = options.full_row_select;
  impl_->sort_descending = options.sort_descending;
  impl_->model.columns = options.columns;
  internal::register_list(handle(), this);

  ListWidget* view = impl_->view;
  view->setModel(&impl_->model);
  view->setItemDelegate(new CellDelegate(impl_.get(), view));
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setShowGrid(options.grid_lines);
  view->setWordWrap(false);
  view->setCornerButtonEnabled(false);
  view->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  QPalette colours = view->palette();
  colours.setColor(QPalette::Base, internal::to_qcolor(kWhite));
  colours.setColor(QPalette::Text, internal::to_qcolor(kBlack));
  view->setPalette(colours);

  view->verticalHeader()->hide();
  view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
  QHeaderView* header = view->horizontalHeader();
  header->setSectionsClickable(true);
  header->setHighlightSections(false);
  header->setSectionsMovable(false);
  header->setStretchLastSection(false);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  for (int i = 0; i < static_cast<int>(options.columns.size()); ++i) {
    header->resizeSection(i, options.columns[i].width);
  }
  QObject::connect(header, &QHeaderView::sectionClicked, [impl = impl_.get()](int column) {
    if (impl->column_click) impl->column_click(column);
  });
}

ReportListView::~ReportListView() { internal::unregister(handle()); }

int ReportListView::row_count() const { return impl_->model.rowCount(); }

int ReportListView::column_count() const { return impl_->model.columnCount(); }

std::string ReportListView::column_title(int column) const {
  if (column < 0 || column >= column_count()) return {};
  return impl_->model.columns[column].title;
}

int ReportListView::column_width(int column) const {
  if (column < 0 || column >= column_count()) return 0;
  return impl_->view->horizontalHeader()->sectionSize(column);
}

bool ReportListView::full_row_select() const { return impl_->full_row_select; }

bool ReportListView::grid_lines() const { return impl_->view->showGrid(); }

bool ReportListView::sorts_descending() const { return impl_->sort_descending; }

std::string ReportListView::cell_text(int row, int column) const {
  if (row < 0 || row >= row_count() || column < 0 || column >= column_count()) return {};
  return impl_->model.rows.cells(row)[column];
}

void ReportListView::set_cell_text(int row, int column, const std::string& text) {
  if (row < 0 || row >= row_count() || column < 0 || column >= column_count()) return;
  Impl& impl = *impl_;
  RowId id = impl.model.rows.at(row);
  std::string& cell = impl.model.rows.mutable_cells_of(id)[column];
  if (cell == text) {
    impl.model.changed(row, column);
    return;
  }
  if (column == 0) {
    ++impl.revision;
    impl.order_breaks -= impl.order_break(row - 1) + impl.order_break(row);
    if (impl.folding != nullptr) impl.index.remove(impl.by_caption, impl.folding(cell), id);
    cell = text;
    if (impl.folding != nullptr) impl.index.add(impl.by_caption, impl.folding(cell), id);
    impl.order_breaks += impl.order_break(row - 1) + impl.order_break(row);
  } else {
    impl.index.remove(impl.by_cell, cell, id);
    cell = text;
    impl.index.add(impl.by_cell, cell, id);
  }
  impl.model.changed(row, column);
}

int ReportListView::insert_row(int position, const std::string& caption) {
  Impl& impl = *impl_;
  if (impl.sort_descending) {
    position = impl.sorted_position(caption);
  } else if (position < 0 || position > row_count()) {
    position = row_count();
  }
  ++impl.revision;
  impl.order_breaks -= impl.order_break(position - 1);
  RowId id = impl.model.insert(position, caption);
  impl.order_breaks += impl.order_break(position - 1) + impl.order_break(position);
  impl.index_row(id);
  return position;
}

void ReportListView::set_caption_folding(CaptionFolding folding) const {
  Impl& impl = *impl_;
  if (impl.folding == folding) return;
  impl.folding = folding;
  impl.by_caption.clear();
  if (folding == nullptr || impl.model.columns.empty()) return;
  for (int row = 0; row < row_count(); ++row) {
    impl.index.add(impl.by_caption, folding(impl.caption(row)), impl.model.rows.at(row));
  }
}

int ReportListView::first_row_with_caption_key(const std::string& key) const {
  if (impl_->folding == nullptr) return -1;
  return impl_->index.first(impl_->by_caption, key);
}

int ReportListView::first_row_with_cell(const std::string& text) const {
  return impl_->index.first(impl_->by_cell, text);
}

void ReportListView::delete_row(int row) {
  if (row < 0 || row >= row_count()) return;
  Impl& impl = *impl_;
  ++impl.revision;
  QItemSelectionModel* selection = impl.view->selectionModel();
  const bool was_selected = selection->isRowSelected(row, QModelIndex());
  impl.order_breaks -= impl.order_break(row - 1) + impl.order_break(row);
  impl.unindex_row(impl.model.rows.at(row));
  impl.model.remove(row);
  impl.order_breaks += impl.order_break(row - 1);
  // The view moves its current row to a neighbour and selects it; a list
  // whose selected row is deleted has no selection left.
  if (was_selected) {
    selection->clearSelection();
    selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
  }
}

void ReportListView::delete_all_rows() {
  if (row_count() > 0) ++impl_->revision;
  impl_->by_caption.clear();
  impl_->by_cell.clear();
  impl_->order_breaks = 0;
  impl_->model.remove_all();
}

long long ReportListView::revision() const { return impl_->revision; }

std::vector<int> ReportListView::selected_rows() const {
  std::vector<int> rows;
  for (const QModelIndex& index : impl_->view->selectionModel()->selectedRows()) {
    rows.push_back(index.row());
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

void ReportListView::select_row(int row) {
  QItemSelectionModel* selection = impl_->view->selectionModel();
  if (row < 0 || row >= row_count()) {
    selection->clearSelection();
    return;
  }
  QModelIndex index = impl_->model.index(row, 0);
  selection->setCurrentIndex(index,
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

ListViewMode ReportListView::mode() const { return impl_->mode; }

void ReportListView::set_mode(ListViewMode mode) {
  impl_->mode = mode;
  // Only the report view has a column header.
  impl_->view->horizontalHeader()->setVisible(mode == ListViewMode::kReport);
}

Colour ReportListView::text_colour() const { return impl_->text_colour; }

Colour ReportListView::text_background_colour() const { return impl_->text_background; }

void ReportListView::set_text_colour(Colour colour) {
  impl_->text_colour = colour & 0xFFFFFF;
  repaint();
}

void ReportListView::set_text_background_colour(Colour colour) {
  impl_->text_background = colour & 0xFFFFFF;
  repaint();
}

void ReportListView::repaint() { impl_->view->viewport()->update(); }

void ReportListView::on_column_click(std::function<void(int)> handler) {
  impl_->column_click = std::move(handler);
}

void ReportListView::on_left_click(std::function<void()> handler) {
  impl_->left_click = std::move(handler);
}

void ReportListView::on_right_click(std::function<void()> handler) {
  impl_->right_click = std::move(handler);
}

ReportListView* report_list_from_handle(WindowHandle handle) {
  return internal::list_from_handle(handle);
}

}  // namespace platform
