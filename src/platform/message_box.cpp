#include "platform/message_box.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/message_box_hook.h"
#include "platform/native_widget.h"

namespace platform {
namespace {

internal::MessageBoxHook& hook() {
  static auto* installed = new internal::MessageBoxHook();
  return *installed;
}

}  // namespace

namespace internal {

MessageBoxHook set_message_box_hook(MessageBoxHook replacement) {
  MessageBoxHook previous = std::move(hook());
  hook() = std::move(replacement);
  return previous;
}

}  // namespace internal

void message_box(const std::string& text, const std::string& title) {
  if (hook()) {
    hook()(title, text);
    return;
  }
  QMessageBox box(QMessageBox::NoIcon, internal::from_gbk(title), internal::from_gbk(text),
                  QMessageBox::Ok, QApplication::activeWindow());
  box.exec();
}

}  // namespace platform
