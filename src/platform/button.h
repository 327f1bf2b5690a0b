// A push button with a clicked event. Text is GBK. User-interface thread only.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/control.h"

namespace platform {

struct ButtonOptions {
  Rect geometry = {};                       // in the parent's client area
  std::string text = {};                    // GBK caption
  std::optional<Font> font = std::nullopt;  // empty: the window's default font
};

class Button : public Control {
 public:
  Button(Control& parent, const ButtonOptions& options);

  std::string text() const;
  // Runs after each click (mouse release over the button, or the keyboard).
  void on_clicked(std::function<void()> handler);
  // Clicks the button as the user would.
  void click();

 private:
  std::function<void()> clicked_;
};

}  // namespace platform
