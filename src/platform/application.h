// The application object: owns the toolkit's application state for the
// process and runs the message loop until the last window closes. Create one,
// on the user-interface thread, before any window.
#pragma once

#include <memory>

namespace platform {

class Application {
 public:
  Application();
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Runs the message loop until the main window has closed; returns the
  // process exit code.
  int run();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
