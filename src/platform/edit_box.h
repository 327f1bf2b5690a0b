// A single-line edit box: sunken border, black text on white, with an event
// on every change of its text (each keystroke and each set_text). Text is
// GBK; typed characters without a GBK form read as "?". User-interface
// thread only.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/control.h"

namespace platform {

struct EditBoxOptions {
  Rect geometry = {};                       // in the parent's client area
  std::string text = {};                    // GBK text at start
  std::optional<Font> font = std::nullopt;  // empty: the window's default font
  bool centred = false;                     // centre the text horizontally
};

class EditBox : public Control {
 public:
  EditBox(Control& parent, const EditBoxOptions& options);

  std::string text() const;
  void set_text(const std::string& text);
  bool centred() const;
  // Runs after every change of the text.
  void on_text_changed(std::function<void()> handler);
  // Types the GBK text at the cursor as keystrokes, one character each.
  void type(const std::string& text);

 private:
  std::function<void()> changed_;
};

}  // namespace platform
