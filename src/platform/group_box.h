// A group box: a framed area with a caption; child controls are placed in its
// client area (its whole rectangle, caption included). Text is GBK.
// User-interface thread only.
#pragma once

#include <optional>
#include <string>

#include "platform/control.h"

namespace platform {

struct GroupBoxOptions {
  Rect geometry = {};                       // in the parent's client area
  std::string text = {};                    // GBK caption
  std::optional<Font> font = std::nullopt;  // empty: the window's default font
};

class GroupBox : public Control {
 public:
  GroupBox(Control& parent, const GroupBoxOptions& options);
  std::string text() const;
};

}  // namespace platform
