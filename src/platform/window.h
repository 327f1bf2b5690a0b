// A top-level window with a fixed frame: a title bar with system menu and a
// minimise button, no maximise button, not resizable, centred on the screen
// when created. Its messages run through its window-procedure chain; closing
// it sends kWmClose down that chain. User-interface thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/control.h"

namespace platform {

struct WindowOptions {
  std::string title = {};  // GBK caption; empty for none
  int outer_width = 640;   // frame and title bar included
  int outer_height = 480;  // frame and title bar included
};

class Window : public Control {
 public:
  explicit Window(const WindowOptions& options);
  ~Window() override;

  // Shows the window; the first time, the created event runs afterwards.
  void show();
  // Asks the window to close, as the title-bar close button does.
  void close();

  // Runs once, when the window is first shown with all its controls.
  void on_created(std::function<void()> handler);

  // The outer rectangle on the screen, frame included. Where the window
  // system draws no frame, this is the client area.
  Rect frame_rect() const;
  // The size of the client area (left and top are 0).
  Rect client_rect() const;
  // The screen the window is on.
  Rect screen_rect() const;
  bool resizable() const;
  bool has_minimise_button() const;
  bool has_maximise_button() const;

  struct Impl;

 private:
  Window(const WindowOptions& options, std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
