// Platform-internal: the Qt widget behind a control and the conversions of
// GBK text and 0x00BBGGRR colours at the toolkit boundary.
#pragma once

#include <QColor>
#include <QFont>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <string>
#include <string_view>

#include "platform/control.h"

namespace platform {

struct NativeWidget {
  explicit NativeWidget(QWidget* w) : widget(w) {}
  // Deletes the widget unless its parent already did.
  ~NativeWidget() { delete widget.data(); }
  QPointer<QWidget> widget;
};

namespace internal {

QString from_gbk(std::string_view gbk);
std::string to_gbk(const QString& text);

QColor to_qcolor(Colour colour);

QFont to_qfont(const Font& font);

// The widget a new child control goes into.
QWidget* widget_of(Control* control);

}  // namespace internal
}  // namespace platform
