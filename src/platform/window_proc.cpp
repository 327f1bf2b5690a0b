#include "platform/window_proc.h"

#include <unordered_map>

#include "platform/handles.h"

namespace platform {
namespace {

struct Entry {
  Window* window = nullptr;
  ReportListView* list = nullptr;
  WindowProc proc = nullptr;
  bool close_reached_default = false;
};

std::unordered_map<WindowHandle, Entry>& registry() {
  static auto* entries = new std::unordered_map<WindowHandle, Entry>();
  return *entries;
}

Entry* find_entry(WindowHandle handle) {
  auto it = registry().find(handle);
  return it == registry().end() ? nullptr : &it->second;
}

Entry* find_window_entry(WindowHandle handle) {
  Entry* entry = find_entry(handle);
  return entry != nullptr && entry->window != nullptr ? entry : nullptr;
}

}  // namespace

namespace internal {

WindowHandle new_handle() {
  static std::uintptr_t last = 0;
  return static_cast<WindowHandle>(++last);
}

void register_window(WindowHandle handle, Window* window) {
  registry()[handle] = Entry{.window = window, .proc = default_window_proc};
}

void register_list(WindowHandle handle, ReportListView* list) {
  registry()[handle] = Entry{.list = list};
}

void unregister(WindowHandle handle) { registry().erase(handle); }

Window* window_from_handle(WindowHandle handle) {
  Entry* entry = find_entry(handle);
  return entry == nullptr ? nullptr : entry->window;
}

ReportListView* list_from_handle(WindowHandle handle) {
  Entry* entry = find_entry(handle);
  return entry == nullptr ? nullptr : entry->list;
}

MessageResult default_window_proc(WindowHandle window, unsigned message, std::uintptr_t,
                                  std::intptr_t) {
  if (message == kWmClose) {
    if (Entry* entry = find_window_entry(window)) entry->close_reached_default = true;
  }
  return 0;
}

bool send_close(WindowHandle window) {
  Entry* entry = find_window_entry(window);
  if (entry == nullptr) return false;
  entry->close_reached_default = false;
  send_message(window, kWmClose, 0, 0);
  // The procedures may have destroyed the window meanwhile.
  entry = find_window_entry(window);
  return entry != nullptr && entry->close_reached_default;
}

}  // namespace internal

WindowProc set_window_proc(WindowHandle window, WindowProc proc) {
  Entry* entry = find_window_entry(window);
  if (entry == nullptr) return nullptr;
  WindowProc previous = entry->proc;
  entry->proc = proc;
  return previous;
}

WindowProc get_window_proc(WindowHandle window) {
  Entry* entry = find_window_entry(window);
  return entry == nullptr ? nullptr : entry->proc;
}

MessageResult call_window_proc(WindowProc proc, WindowHandle window, unsigned message,
                               std::uintptr_t wparam, std::intptr_t lparam) {
  if (proc == nullptr) return 0;
  return proc(window, message, wparam, lparam);
}

MessageResult send_message(WindowHandle window, unsigned message, std::uintptr_t wparam,
                           std::intptr_t lparam) {
  return call_window_proc(get_window_proc(window), window, message, wparam, lparam);
}

}  // namespace platform
