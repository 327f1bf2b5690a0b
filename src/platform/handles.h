// Platform-internal registry of live windows and controls by handle, so that
// a handle turns back into its object only while the object lives, and the
// store of each window's current procedure. User-interface thread only.
#pragma once

#include "platform/window_proc.h"

namespace platform {

class Window;
class ReportListView;

namespace internal {

// A fresh handle, never handed out before.
WindowHandle new_handle();

// A window starts with its own procedure (default_window_proc).
void register_window(WindowHandle handle, Window* window);
void register_list(WindowHandle handle, ReportListView* list);
void unregister(WindowHandle handle);

Window* window_from_handle(WindowHandle handle);
ReportListView* list_from_handle(WindowHandle handle);

// The window's own procedure: answers every message with 0; for kWmClose it
// lets the close go ahead.
MessageResult default_window_proc(WindowHandle window, unsigned message, std::uintptr_t wparam,
                                  std::intptr_t lparam);

// Sends kWmClose through the window's chain; true when it reached the
// window's own procedure, which means the window may close.
bool send_close(WindowHandle window);

}  // namespace internal
}  // namespace platform
