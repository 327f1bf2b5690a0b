// GUI test support: looks at and drives the real widgets the way a person
// would (grabbed pixels, mouse clicks). For tests only; user-interface
// thread only.
#pragma once

#include <functional>

#include "platform/control.h"
#include "platform/png_decoder.h"
#include "platform/report_list_view.h"

namespace platform::probe {

// The control rendered as it would be on screen, in its own coordinates.
RgbaImage grab(const Control& control);
// The pixel at (x, y) as 0x00BBGGRR.
Colour pixel(const RgbaImage& image, int x, int y);

// A cell's rectangle (inside the grid lines) in the list's grab coordinates.
Rect cell_rect(const ReportListView& list, int row, int column);
// True when the text of the cell is drawn whole, in the list's font and
// within the cell's text margins, not cut short.
bool cell_text_fits(const ReportListView& list, int row, int column);
// The list's empty area below its last row, in grab coordinates.
Rect empty_area(const ReportListView& list);

enum class MouseButton { kLeft, kRight };
// Presses and releases the button at (x, y) in the list's grab coordinates.
void click_list(ReportListView& list, int x, int y, MouseButton button);
// Clicks the middle of the column's header item.
void click_header(ReportListView& list, int column);

// Processes events until `condition` holds or `timeout_ms` has passed;
// returns the condition's last value.
bool wait_until(const std::function<bool()>& condition, int timeout_ms);

}  // namespace platform::probe
