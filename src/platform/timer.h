// A timer with a period in milliseconds and an elapsed event. It has a place
// on its parent at design time but is never visible. Setting the period it
// already has changes nothing; another period stops it and, when greater than
// 0, starts it again with its next tick one full period later.
// User-interface thread only.
#pragma once

#include <functional>
#include <memory>

#include "platform/control.h"

namespace platform {

struct TimerOptions {
  Control* parent = nullptr;  // the control it sits on at design time
  Rect geometry = {};         // its design-time place (never shown)
  int period_ms = 0;          // 0 or less: stopped
};

class Timer {
 public:
  explicit Timer(const TimerOptions& options);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  void set_period(int period_ms);
  int period() const;
  bool running() const;
  // Milliseconds until the next tick; -1 when stopped.
  int remaining_ms() const;
  // Runs at every elapsed period.
  void on_elapsed(std::function<void()> handler);

  Control* parent() const { return parent_; }
  Rect geometry() const { return geometry_; }

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  Control* parent_;
  Rect geometry_;
};

}  // namespace platform
