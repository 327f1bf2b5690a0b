// A static text label: no border, the window's background, black text on one
// line, left-aligned and vertically centred; with word wrap the text wraps at
// the label's width from the top. Text is GBK. User-interface thread only.
#pragma once

#include <optional>
#include <string>

#include "platform/control.h"

namespace platform {

struct LabelOptions {
  Rect geometry = {};                       // in the parent's client area
  std::string text = {};                    // GBK
  std::optional<Font> font = std::nullopt;  // empty: the window's default font
  bool word_wrap = false;                   // wrap at the label's width, starting at the top
};

class Label : public Control {
 public:
  Label(Control& parent, const LabelOptions& options);

  std::string text() const { return text_; }
  void set_text(const std::string& text);
  bool word_wrap() const;

 private:
  std::string text_;
};

}  // namespace platform
