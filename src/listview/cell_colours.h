// Per-cell colours of the report lists, painted through the lists' custom
// draw: a program-wide store of colours per list, row and column, and the
// window procedure that answers the lists' custom-draw notifications on the
// main window. Records are keyed by row and column index, not by content.
// User-interface thread only.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "listview/report_list.h"
#include "platform/window.h"
#include "platform/window_proc.h"

using Colour = platform::Colour;  // 0x00BBGGRR

struct CellColour {
  std::int32_t row = 0;
  std::int32_t column = 0;
  Colour text_colour = 0;
  Colour background_colour = 0;
};

struct ListColours {
  platform::WindowHandle list = platform::WindowHandle::kNone;  // the list's handle
  std::vector<CellColour> cells;  // in the order first set; one per (row, column)
};

// Every list ever coloured in this run, in the order first coloured.
extern std::vector<ListColours> colour_store;

// Records the colours of one cell and repaints the list. A left-out
// background is the list's own text-background colour; colours equal to the
// list's own pair leave no record. The first call ever installs
// cell_colour_proc as `parent`'s procedure.
void set_cell_colour(platform::Window& parent, ReportList& list, int row, int column,
                     Colour text_colour, std::optional<Colour> background_colour = std::nullopt);

// Forgets the colours of `list` (every list when nullptr) and repaints it.
// Does nothing before the painter is installed. `parent` is not used.
void clear_cell_colours(platform::Window& parent, const ReportList* list = nullptr);

// The painter's window procedure: answers the custom-draw notifications of
// the lists in the store, gives the window its previous procedure back on
// kWmClose, and hands every other message to the previous procedure.
platform::MessageResult cell_colour_proc(platform::WindowHandle window, unsigned message,
                                         std::uintptr_t wparam, std::intptr_t lparam);

// Empties the store and forgets the painter, for tests that each start from
// a fresh program state. Does not touch any window's procedure.
void reset_cell_colours_for_testing();
