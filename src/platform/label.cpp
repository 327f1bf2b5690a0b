#include "platform/label.h"

#include <QLabel>

#include "platform/native_widget.h"

namespace platform {
namespace {

QLabel* label_of(const Control& control) {
  return static_cast<QLabel*>(control.native().widget.data());
}

std::unique_ptr<NativeWidget> make_label(Control& parent, const LabelOptions& options) {
  auto* label = new QLabel(internal::widget_of(&parent));
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(options.word_wrap);
  label->setAlignment(options.word_wrap ? (Qt::AlignLeft | Qt::AlignTop)
                                        : (Qt::AlignLeft | Qt::AlignVCenter));
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, Qt::black);
  label->setPalette(palette);
  return std::make_unique<NativeWidget>(label);
}

}  // namespace

Label::Label(Control& parent, const LabelOptions& options)
    : Control(&parent, make_label(parent, options), options.geometry, options.font) {
  set_text(options.text);
}

void Label::set_text(const std::string& text) {
  text_ = text;
  // CR LF ends a line on screen; a lone CR would show as a box.
  QString shown = internal::from_gbk(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QChar('\r'), QChar('\n'));
  if (QLabel* label = label_of(*this)) label->setText(shown);
}

bool Label::word_wrap() const {
  QLabel* label = label_of(*this);
  return label != nullptr && label->wordWrap();
}

}  // namespace platform
