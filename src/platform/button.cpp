#include "platform/button.h"

#include <QPushButton>

#include "platform/native_widget.h"

namespace platform {
namespace {

QPushButton* button_of(const Control& control) {
  return static_cast<QPushButton*>(control.native().widget.data());
}

std::unique_ptr<NativeWidget> make_button(Control& parent, const ButtonOptions& options) {
  auto* button = new QPushButton(internal::from_gbk(options.text), internal::widget_of(&parent));
  button->setAutoDefault(false);
  return std::make_unique<NativeWidget>(button);
}

}  // namespace

Button::Button(Control& parent, const ButtonOptions& options)
    : Control(&parent, make_button(parent, options), options.geometry, options.font) {
  QObject::connect(button_of(*this), &QPushButton::clicked, [this] {
    if (clicked_) clicked_();
  });
}

std::string Button::text() const {
  QPushButton* button = button_of(*this);
  return button == nullptr ? std::string() : internal::to_gbk(button->text());
}

void Button::on_clicked(std::function<void()> handler) { clicked_ = std::move(handler); }

void Button::click() {
  if (QPushButton* button = button_of(*this)) button->click();
}

}  // namespace platform
