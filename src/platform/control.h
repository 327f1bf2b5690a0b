// The parts every on-screen control shares: its place in its parent's client
// area, its visibility and its font. Controls are owned by the code that
// creates them; a child's native widget dies with its parent window.
// User-interface thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/window_proc.h"

namespace platform {

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Rect&) const = default;
};

inline constexpr int kCharsetDefault = 1;
inline constexpr int kCharsetGb2312 = 134;
inline constexpr int kFontWeightNormal = 400;

struct Font {
  std::string face = {};           // GBK face name; empty for the system's default face
  int pixel_height = 0;            // character height in pixels
  int weight = kFontWeightNormal;  // 400 normal, 700 bold
  int charset = kCharsetDefault;   // kCharsetDefault or kCharsetGb2312
  bool operator==(const Font&) const = default;
};

struct NativeWidget;  // the toolkit widget behind a control (platform-internal)

class Control {
 public:
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control();

  void show();
  void hide();
  // The control's own visibility flag (true also while its parent is hidden).
  bool visible() const;

  // Position relative to the parent's client area, and size.
  Rect geometry() const;
  // The font given to the control; empty when it uses the window's default.
  const std::optional<Font>& font() const { return font_; }
  // The parent control; nullptr for a top-level window.
  Control* parent() const { return parent_; }
  WindowHandle handle() const { return handle_; }

  NativeWidget& native() const { return *native_; }

 protected:
  Control(Control* parent, std::unique_ptr<NativeWidget> native, Rect geometry,
          std::optional<Font> font);

 private:
  Control* parent_;
  std::unique_ptr<NativeWidget> native_;
  std::optional<Font> font_;
  WindowHandle handle_;
};

}  // namespace platform
