#include "platform/testing/first_paint.h"

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <utility>

#include "platform/native_widget.h"

namespace platform::probe {
namespace {

// Watches the widget's events; at its first paint it posts the callback
// behind the rest of that paint pass and removes itself.
class FirstPaintFilter : public QObject {
 public:
  FirstPaintFilter(QWidget* widget, std::function<void()> painted)
      : QObject(widget), painted_(std::move(painted)) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_) {
      seen_ = true;
      watched->removeEventFilter(this);
      QPointer<FirstPaintFilter> self(this);
      QTimer::singleShot(0, watched, [self] {
        if (self) self->painted_();
      });
    }
    return false;
  }

 private:
  std::function<void()> painted_;
  bool seen_ = false;
};

}  // namespace

void on_first_paint(const Control& control, std::function<void()> painted) {
  QWidget* widget = control.native().widget.data();
  if (widget == nullptr) return;
  widget->installEventFilter(new FirstPaintFilter(widget, std::move(painted)));
}

}  // namespace platform::probe
