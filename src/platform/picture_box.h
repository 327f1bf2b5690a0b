// A picture box with a single-line border that draws its picture at natural
// size, repeated from the top-left corner of its inside across and down.
// User-interface thread only.
#pragma once

#include <optional>

#include "platform/control.h"
#include "platform/png_decoder.h"

namespace platform {

struct PictureBoxOptions {
  Rect geometry = {};   // in the parent's client area
  bool visible = true;  // shown at start
};

class PictureBox : public Control {
 public:
  PictureBox(Control& parent, const PictureBoxOptions& options);

  // Replaces the picture and repaints; an empty optional, or an image whose
  // pixel data does not match its size, leaves no picture.
  void set_picture(std::optional<RgbaImage> image);
  bool has_picture() const;
};

}  // namespace platform
