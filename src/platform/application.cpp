#include "platform/application.h"

#include <QApplication>

namespace platform {

struct Application::Impl {
  int argc = 1;
  char name[10] = "fundwatch";
  char* argv[2] = {name, nullptr};
  std::unique_ptr<QApplication> app;  // empty when one existed already
};

Application::Application() : impl_(std::make_unique<Impl>()) {
  if (QApplication::instance() == nullptr) {
    impl_->app = std::make_unique<QApplication>(impl_->argc, impl_->argv);
  }
}

Application::~Application() = default;

int Application::run() {
  QApplication::setQuitOnLastWindowClosed(true);
  return QApplication::exec();
}

}  // namespace platform
