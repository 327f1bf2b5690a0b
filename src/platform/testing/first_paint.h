// Benchmark and test support: tells when a control's widget has painted for
// the first time, so start-up can be timed to what a person first sees.
// User-interface thread only.
#pragma once

#include <functional>

#include "platform/control.h"

namespace platform::probe {

// Runs `painted` once, from the event loop, right after the control's first
// paint has been handled (its children paint in the same pass). Nothing
// runs if the control is destroyed first.
void on_first_paint(const Control& control, std::function<void()> painted);

}  // namespace platform::probe
