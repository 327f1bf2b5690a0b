// GUI test support: while a recorder lives, every message box is recorded
// (title and text) and answered OK at once instead of opening a modal loop.
// One recorder at a time; user-interface thread only.
#pragma once

#include <string>
#include <vector>

namespace platform {

class MessageBoxRecorder {
 public:
  struct Shown {
    std::string title;  // GBK
    std::string text;   // GBK
    bool operator==(const Shown&) const = default;
  };

  MessageBoxRecorder();
  ~MessageBoxRecorder();
  MessageBoxRecorder(const MessageBoxRecorder&) = delete;
  MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

  // The boxes shown so far, in order.
  const std::vector<Shown>& shown() const { return shown_; }

 private:
  std::vector<Shown> shown_;
};

}  // namespace platform
