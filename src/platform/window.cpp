#include "platform/window.h"

#include <QCloseEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "platform/handles.h"
#include "platform/native_widget.h"

namespace platform {

// Keeps the outer size fixed and the window centred once the window system
// tells the frame's size, and routes the close request through the chain.
class TopLevelWidget : public QWidget {
 public:
  explicit TopLevelWidget(Window::Impl* impl) : impl_(impl) {}

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  Window::Impl* impl_;
};

struct Window::Impl {
  Window* owner = nullptr;
  int outer_width = 0;
  int outer_height = 0;
  QSize applied_frame_extra{-1, -1};
  bool shown_once = false;
  std::function<void()> created;

  QWidget* widget() const { return owner->native().widget; }

  // Sizes the client area so that the outer size is as asked, and centres
  // the outer rectangle: x = (screen width - outer width) / 2, likewise y.
  void place() {
    QWidget* w = widget();
    QSize extra = w->frameGeometry().size() - w->geometry().size();
    if (!w->isVisible()) extra = QSize(0, 0);  // the frame is unknown until shown
    if (extra == applied_frame_extra) return;
    applied_frame_extra = extra;
    w->setFixedSize(outer_width - extra.width(), outer_height - extra.height());
    QScreen* screen = w->screen() != nullptr ? w->screen() : QGuiApplication::primaryScreen();
    QRect area = screen != nullptr ? screen->geometry() : QRect();
    w->move(area.x() + (area.width() - outer_width) / 2,
            area.y() + (area.height() - outer_height) / 2);
  }
};

bool TopLevelWidget::event(QEvent* event) {
  bool result = QWidget::event(event);
  switch (event->type()) {
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Resize:
      impl_->place();
      break;
    default:
      break;
  }
  return result;
}

void TopLevelWidget::closeEvent(QCloseEvent* event) {
  if (internal::send_close(impl_->owner->handle())) {
    event->accept();
  } else {
    event->ignore();
  }
}

namespace {

std::unique_ptr<NativeWidget> make_top_level(Window::Impl* impl, const WindowOptions& options) {
  auto* widget = new TopLevelWidget(impl);
  widget->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint);
  widget->setWindowTitle(internal::from_gbk(options.title));
  return std::make_unique<NativeWidget>(widget);
}

}  // namespace

Window::Window(const WindowOptions& options) : Window(options, std::make_unique<Impl>()) {}

Window::Window(const WindowOptions& options, std::unique_ptr<Impl> impl)
    : Control(nullptr, make_top_level(impl.get(), options), Rect{}, std::nullopt),
      impl_(std::move(impl)) {
  impl_->owner = this;
  impl_->outer_width = options.outer_width;
  impl_->outer_height = options.outer_height;
  internal::register_window(handle(), this);
  impl_->place();
}

Window::~Window() { internal::unregister(handle()); }

void Window::show() {
  QWidget* w = impl_->widget();
  w->show();
  impl_->place();
  if (!impl_->shown_once) {
    impl_->shown_once = true;
    if (impl_->created) impl_->created();
  }
}

void Window::close() { impl_->widget()->close(); }

void Window::on_created(std::function<void()> handler) { impl_->created = std::move(handler); }

Rect Window::frame_rect() const {
  QWidget* w = impl_->widget();
  QRect r = w->isVisible() ? w->frameGeometry() : w->geometry();
  return Rect{r.x(), r.y(), r.width(), r.height()};
}

Rect Window::client_rect() const {
  QWidget* w = impl_->widget();
  return Rect{0, 0, w->width(), w->height()};
}

Rect Window::screen_rect() const {
  QWidget* w = impl_->widget();
  QScreen* screen = w->screen() != nullptr ? w->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return {};
  QRect r = screen->geometry();
  return Rect{r.x(), r.y(), r.width(), r.height()};
}

bool Window::resizable() const {
  QWidget* w = impl_->widget();
  return w->minimumSize() != w->maximumSize();
}

bool Window::has_minimise_button() const {
  return impl_->widget()->windowFlags().testFlag(Qt::WindowMinimizeButtonHint);
}

bool Window::has_maximise_button() const {
  return impl_->widget()->windowFlags().testFlag(Qt::WindowMaximizeButtonHint);
}

}  // namespace platform
