#include "platform/testing/probe.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFontMetrics>
#include <QHeaderView>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QStyle>
#include <QTableView>
#include <QThread>

#include "platform/native_widget.h"

namespace platform::probe {
namespace {

QTableView* view_of(const ReportListView& list) {
  return static_cast<QTableView*>(list.native().widget.data());
}

void press_and_release(QWidget* target, QPoint at, Qt::MouseButton button) {
  QPointF local(at);
  QPointF global(target->mapToGlobal(at));
  QMouseEvent press(QEvent::MouseButtonPress, local, global, button, button, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, local, global, button, Qt::NoButton,
                      Qt::NoModifier);
  QCoreApplication::sendEvent(target, &release);
}

}  // namespace

RgbaImage grab(const Control& control) {
  QImage image = control.native().widget->grab().toImage().convertToFormat(QImage::Format_RGBA8888);
  RgbaImage result{.width = image.width(), .height = image.height(), .pixels = {}};
  result.pixels.resize(static_cast<std::size_t>(image.width()) * image.height() * 4);
  for (int y = 0; y < image.height(); ++y) {
    const uchar* line = image.constScanLine(y);
    std::copy(line, line + image.width() * 4,
              result.pixels.begin() + static_cast<std::ptrdiff_t>(y) * image.width() * 4);
  }
  return result;
}

Colour pixel(const RgbaImage& image, int x, int y) {
  if (x < 0 || y < 0 || x >= image.width || y >= image.height) return 0xFFFFFFFF;
  const unsigned char* p = &image.pixels[(static_cast<std::size_t>(y) * image.width + x) * 4];
  return static_cast<Colour>(p[0]) | static_cast<Colour>(p[1]) << 8 |
         static_cast<Colour>(p[2]) << 16;
}

Rect cell_rect(const ReportListView& list, int row, int column) {
  QTableView* view = view_of(list);
  QRect cell = view->visualRect(view->model()->index(row, column));
  QPoint top_left = view->viewport()->mapTo(view, cell.topLeft());
  // The grid line is drawn on the cell's right and bottom edge.
  return Rect{top_left.x(), top_left.y(), cell.width() - 1, cell.height() - 1};
}

bool cell_text_fits(const ReportListView& list, int row, int column) {
  QTableView* view = view_of(list);
  QModelIndex index = view->model()->index(row, column);
  QString text = view->model()->data(index, Qt::DisplayRole).toString();
  QFontMetrics metrics(view->font());
  // The item delegate keeps a focus-frame margin plus one pixel on each side.
  int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
  return metrics.horizontalAdvance(text) + 2 * margin <= view->visualRect(index).width();
}

Rect empty_area(const ReportListView& list) {
  QTableView* view = view_of(list);
  QWidget* viewport = view->viewport();
  int rows = view->model()->rowCount();
  int top = rows == 0 ? 0 : view->rowViewportPosition(rows - 1) + view->rowHeight(rows - 1);
  QPoint top_left = viewport->mapTo(view, QPoint(0, top));
  return Rect{top_left.x(), top_left.y(), viewport->width(), viewport->height() - top};
}

void click_list(ReportListView& list, int x, int y, MouseButton button) {
  QTableView* view = view_of(list);
  QPoint at = view->viewport()->mapFrom(view, QPoint(x, y));
  press_and_release(view->viewport(), at,
                    button == MouseButton::kLeft ? Qt::LeftButton : Qt::RightButton);
}

void click_header(ReportListView& list, int column) {
  QHeaderView* header = view_of(list)->horizontalHeader();
  QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
            header->height() / 2);
  press_and_release(header->viewport(), at, Qt::LeftButton);
}

bool wait_until(const std::function<bool()>& condition, int timeout_ms) {
  QDeadlineTimer deadline(timeout_ms);
  while (!condition()) {
    if (deadline.hasExpired()) return condition();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(1);
  }
  return true;
}

}  // namespace platform::probe
