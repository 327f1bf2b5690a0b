#include "platform/window.h"

#include <gtest/gtest.h>

#include "platform/button.h"

namespace platform {
namespace {

TEST(WindowTest, OuterSizeFixedAndCentredWithIntegerDivision) {
  for (auto [width, height] : {std::pair{1213, 676}, {301, 201}}) {
    Window window({.outer_width = width, .outer_height = height});
    window.show();
    Rect screen = window.screen_rect();
    Rect frame = window.frame_rect();
    EXPECT_EQ(frame.width, width);
    EXPECT_EQ(frame.height, height);
    EXPECT_EQ(frame.left, screen.left + (screen.width - width) / 2);
    EXPECT_EQ(frame.top, screen.top + (screen.height - height) / 2);
    // The client area is what the frame leaves (the whole outer size when
    // the window system draws no frame).
    Rect client = window.client_rect();
    EXPECT_GT(client.width, width - 20);
    EXPECT_LE(client.width, width);
    EXPECT_GT(client.height, height - 40);
    EXPECT_LE(client.height, height);
    EXPECT_FALSE(window.resizable());
    EXPECT_TRUE(window.has_minimise_button());
    EXPECT_FALSE(window.has_maximise_button());
  }
}

TEST(WindowTest, CreatedRunsOnceAfterTheControlsExist) {
  Window window({.outer_width = 200, .outer_height = 100});
  Button button(window, {.geometry = {1, 2, 30, 20}, .text = "ok"});
  int created = 0;
  window.on_created([&] {
    ++created;
    EXPECT_TRUE(button.visible());
    EXPECT_EQ(button.geometry(), (Rect{1, 2, 30, 20}));
  });
  EXPECT_EQ(created, 0);
  window.show();
  window.show();
  EXPECT_EQ(created, 1);
}

// A procedure chain of two recording procedures over the window's own one.
struct Seen {
  unsigned message;
  std::uintptr_t wparam;
  std::intptr_t lparam;
};
std::vector<Seen> outer_seen, inner_seen;
WindowProc below_outer = nullptr, below_inner = nullptr;
bool outer_passes_close = true;

MessageResult inner_proc(WindowHandle window, unsigned message, std::uintptr_t wparam,
                         std::intptr_t lparam) {
  inner_seen.push_back({message, wparam, lparam});
  call_window_proc(below_inner, window, message, wparam, lparam);
  return 11;
}

MessageResult outer_proc(WindowHandle window, unsigned message, std::uintptr_t wparam,
                         std::intptr_t lparam) {
  outer_seen.push_back({message, wparam, lparam});
  if (message == kWmClose && !outer_passes_close) return 0;
  return call_window_proc(below_outer, window, message, wparam, lparam) + 1;
}

class WindowProcTest : public testing::Test {
 protected:
  WindowProcTest() {
    outer_seen.clear();
    inner_seen.clear();
    outer_passes_close = true;
    window.show();
  }
  Window window{{.outer_width = 200, .outer_height = 100}};
};

TEST_F(WindowProcTest, ReplacedProceduresChainAndReturnThePreviousOne) {
  WindowProc own = get_window_proc(window.handle());
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(send_message(window.handle(), 0x0400, 1, 2), 0);  // the window's own answer

  below_inner = set_window_proc(window.handle(), inner_proc);
  EXPECT_EQ(below_inner, own);
  below_outer = set_window_proc(window.handle(), outer_proc);
  EXPECT_EQ(below_outer, &inner_proc);

  EXPECT_EQ(send_message(window.handle(), 0x0400, 1, -2), 12);
  ASSERT_EQ(inner_seen.size(), 1u);
  EXPECT_EQ(inner_seen[0].message, 0x0400u);
  EXPECT_EQ(inner_seen[0].wparam, 1u);
  EXPECT_EQ(inner_seen[0].lparam, -2);

  EXPECT_EQ(set_window_proc(window.handle(), below_outer), &outer_proc);
  EXPECT_EQ(send_message(window.handle(), 0x0400, 0, 0), 11);
  EXPECT_EQ(outer_seen.size(), 1u);
}

TEST_F(WindowProcTest, CloseTravelsTheChainAndClosesOnlyWhenItReachesTheWindow) {
  below_inner = set_window_proc(window.handle(), inner_proc);
  below_outer = set_window_proc(window.handle(), outer_proc);

  outer_passes_close = false;
  window.close();
  EXPECT_TRUE(window.visible());
  EXPECT_TRUE(inner_seen.empty());

  outer_passes_close = true;
  window.close();
  EXPECT_FALSE(window.visible());
  ASSERT_EQ(inner_seen.size(), 1u);
  EXPECT_EQ(inner_seen[0].message, kWmClose);
}

TEST(WindowHandleTest, DeadOrForeignHandlesNameNoWindow) {
  WindowHandle gone;
  {
    Window window({});
    gone = window.handle();
    EXPECT_NE(get_window_proc(gone), nullptr);
  }
  for (WindowHandle handle : {gone, WindowHandle::kNone}) {
    EXPECT_EQ(get_window_proc(handle), nullptr);
    EXPECT_EQ(set_window_proc(handle, inner_proc), nullptr);
    EXPECT_EQ(send_message(handle, kWmClose, 0, 0), 0);
  }
  Window next({});
  EXPECT_NE(next.handle(), gone);  // handles are never reused
}

}  // namespace
}  // namespace platform
