#include "platform/edit_box.h"

#include <QLineEdit>

#include "platform/native_widget.h"

namespace platform {
namespace {

QLineEdit* edit_of(const Control& control) {
  return static_cast<QLineEdit*>(control.native().widget.data());
}

std::unique_ptr<NativeWidget> make_edit(Control& parent, const EditBoxOptions& options) {
  auto* edit = new QLineEdit(internal::from_gbk(options.text), internal::widget_of(&parent));
  edit->setAlignment(options.centred ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignVCenter));
  QPalette palette = edit->palette();
  palette.setColor(QPalette::Text, Qt::black);
  palette.setColor(QPalette::Base, Qt::white);
  edit->setPalette(palette);
  return std::make_unique<NativeWidget>(edit);
}

}  // namespace

EditBox::EditBox(Control& parent, const EditBoxOptions& options)
    : Control(&parent, make_edit(parent, options), options.geometry, options.font) {
  QObject::connect(edit_of(*this), &QLineEdit::textChanged, [this] {
    if (changed_) changed_();
  });
}

std::string EditBox::text() const {
  QLineEdit* edit = edit_of(*this);
  return edit == nullptr ? std::string() : internal::to_gbk(edit->text());
}

void EditBox::set_text(const std::string& text) {
  if (QLineEdit* edit = edit_of(*this)) edit->setText(internal::from_gbk(text));
}

bool EditBox::centred() const {
  QLineEdit* edit = edit_of(*this);
  return edit != nullptr && edit->alignment().testFlag(Qt::AlignHCenter);
}

void EditBox::on_text_changed(std::function<void()> handler) { changed_ = std::move(handler); }

void EditBox::type(const std::string& text) {
  QLineEdit* edit = edit_of(*this);
  if (edit == nullptr) return;
  for (QChar ch : internal::from_gbk(text)) edit->insert(QString(ch));
}

}  // namespace platform
