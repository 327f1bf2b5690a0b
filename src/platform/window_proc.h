// Window procedures and the messages that travel through them: each window
// has a chain of procedures that can be replaced (getting the previous one
// back) and called, the way the program subclasses its main window to paint
// list cells. Handles are never reused. User-interface thread only.
#pragma once

#include <cstdint>

namespace platform {

// Identifies a window or a control for as long as the process runs; a handle
// of a destroyed object never names another one.
enum class WindowHandle : std::uintptr_t { kNone = 0 };

// A colour as 0x00BBGGRR.
using Colour = std::uint32_t;

using MessageResult = std::intptr_t;
using WindowProc = MessageResult (*)(WindowHandle window, unsigned message, std::uintptr_t wparam,
                                     std::intptr_t lparam);

// Messages.
inline constexpr unsigned kWmClose = 0x0010;   // the window is asked to close
inline constexpr unsigned kWmNotify = 0x004E;  // lparam points to a NotifyHeader

// Notification codes.
inline constexpr int kNmCustomDraw = -12;  // lparam points to a ListCustomDraw

// Custom-draw stages and answers.
inline constexpr std::uint32_t kCddsPrepaint = 0x00000001;
inline constexpr std::uint32_t kCddsItem = 0x00010000;
inline constexpr std::uint32_t kCddsSubItem = 0x00020000;
inline constexpr std::uint32_t kCddsItemPrepaint = kCddsItem | kCddsPrepaint;
inline constexpr MessageResult kCdrfDoDefault = 0x00;
inline constexpr MessageResult kCdrfNotifyItemDraw = 0x20;
inline constexpr MessageResult kCdrfNotifySubItemDraw = 0x20;

// The start of every notification record.
struct NotifyHeader {
  WindowHandle from = WindowHandle::kNone;  // the control that sends it
  std::uintptr_t id = 0;                    // the control's identifier
  int code = 0;                             // kNmCustomDraw, ...
};

// What a report list sends for each custom-draw stage. The receiver may change
// the two colours of a sub-item record; the list paints the cell with them.
struct ListCustomDraw {
  NotifyHeader header = {};
  std::uint32_t draw_stage = 0;
  std::uintptr_t item = 0;  // row index for the item stages
  int sub_item = 0;         // column index for the sub-item stage
  Colour text_colour = 0;
  Colour text_background_colour = 0;
};

// Installs `proc` as the window's procedure and returns the one it replaces;
// returns nullptr and changes nothing when `window` is not a live window.
WindowProc set_window_proc(WindowHandle window, WindowProc proc);
// The window's current procedure; nullptr when `window` is not a live window.
WindowProc get_window_proc(WindowHandle window);
// Calls `proc` with the four values and returns its result (0 for nullptr).
MessageResult call_window_proc(WindowProc proc, WindowHandle window, unsigned message,
                               std::uintptr_t wparam, std::intptr_t lparam);
// Delivers the message to the window's current procedure; 0 when `window` is
// not a live window.
MessageResult send_message(WindowHandle window, unsigned message, std::uintptr_t wparam,
                           std::intptr_t lparam);

}  // namespace platform
