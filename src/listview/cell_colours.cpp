#include "listview/cell_colours.h"

#include <climits>
#include <cstdint>
#include <unordered_map>

#include "platform/report_list_view.h"

std::vector<ListColours> colour_store;

namespace {

bool painter_installed = false;
platform::WindowProc previous_proc = nullptr;

// Where each cell's record sits in its list's cells, so that recording and
// painting a colour look it up at once instead of scanning every record. A
// cache: rebuilt from the cells whenever it does not cover them all.
using CellPositions = std::unordered_map<std::uint64_t, std::size_t>;
std::unordered_map<platform::WindowHandle, CellPositions> cell_positions;

std::uint64_t cell_key(std::int32_t row, std::int32_t column) {
  return (std::uint64_t{static_cast<std::uint32_t>(row)} << 32) |
         static_cast<std::uint32_t>(column);
}

CellPositions& positions_of(const ListColours& colours) {
  CellPositions& positions = cell_positions[colours.list];
  if (positions.size() != colours.cells.size()) {
    positions.clear();
    // The first record of a cell is the one that counts.
    for (std::size_t i = colours.cells.size(); i-- > 0;) {
      positions[cell_key(colours.cells[i].row, colours.cells[i].column)] = i;
    }
  }
  return positions;
}

const CellColour* find_cell(const ListColours& colours, std::int32_t row, std::int32_t column) {
  CellPositions& positions = positions_of(colours);
  auto found = positions.find(cell_key(row, column));
  return found == positions.end() ? nullptr : &colours.cells[found->second];
}

ListColours* find_list(platform::WindowHandle list) {
  for (ListColours& entry : colour_store) {
    if (entry.list == list) return &entry;
  }
  return nullptr;
}

// The whole list at once.
void repaint_list(platform::WindowHandle handle) {
  if (ReportList* list = platform::report_list_from_handle(handle)) list->repaint();
}

platform::MessageResult answer_custom_draw(const ListColours& colours,
                                           platform::ListCustomDraw& record,
                                           platform::WindowHandle window, unsigned message,
                                           std::uintptr_t wparam, std::intptr_t lparam) {
  switch (record.draw_stage) {
    case platform::kCddsPrepaint:
      return platform::kCdrfNotifyItemDraw;
    case platform::kCddsItemPrepaint:
      return platform::kCdrfNotifySubItemDraw;
    case platform::kCddsItemPrepaint | platform::kCddsSubItem: {
      const CellColour* found =
          record.item <= static_cast<std::uintptr_t>(INT32_MAX)
              ? find_cell(colours, static_cast<std::int32_t>(record.item), record.sub_item)
              : nullptr;
      if (found != nullptr) {
        record.text_colour = found->text_colour;
        record.text_background_colour = found->background_colour;
      } else {
        ReportList* list = platform::report_list_from_handle(colours.list);
        record.text_colour = 0;
        record.text_background_colour =
            list != nullptr ? list->text_background_colour() : record.text_background_colour;
      }
      return platform::call_window_proc(previous_proc, window, message, wparam, lparam);
    }
    default:
      return platform::call_window_proc(previous_proc, window, message, wparam, lparam);
  }
}

}  // namespace

void set_cell_colour(platform::Window& parent, ReportList& list, int row, int column,
                     Colour text_colour, std::optional<Colour> background_colour) {
  if (!painter_installed) {
    previous_proc = platform::set_window_proc(parent.handle(), cell_colour_proc);
    painter_installed = true;
  }
  const Colour own_text = list.text_colour();
  const Colour own_background = list.text_background_colour();
  const CellColour wanted{.row = row,
                          .column = column,
                          .text_colour = text_colour,
                          .background_colour = background_colour.value_or(own_background)};
  const bool own_pair =
      wanted.text_colour == own_text && wanted.background_colour == own_background;

  ListColours* entry = find_list(list.handle());
  if (entry == nullptr) {
    colour_store.push_back(ListColours{.list = list.handle(), .cells = {}});
    entry = &colour_store.back();
  }
  std::vector<CellColour>& cells = entry->cells;
  CellPositions& positions = positions_of(*entry);
  auto found = positions.find(cell_key(row, column));
  if (found != positions.end()) {
    if (own_pair) {
      // Rare (no caller passes the list's own pair): the records after it
      // move up, and the positions are rebuilt at the next call.
      cells.erase(cells.begin() + static_cast<std::ptrdiff_t>(found->second));
      positions.clear();
    } else {
      cells[found->second] = wanted;
    }
  } else if (!own_pair) {
    positions.emplace(cell_key(row, column), cells.size());
    cells.push_back(wanted);
  }
  list.repaint();
}

void clear_cell_colours(platform::Window&, const ReportList* list) {
  if (!painter_installed) return;
  if (list != nullptr) {
    if (ListColours* entry = find_list(list->handle())) {
      entry->cells.clear();
      cell_positions.erase(entry->list);
      repaint_list(entry->list);
    }
    return;
  }
  for (ListColours& entry : colour_store) {
    entry.cells.clear();
    repaint_list(entry.list);
  }
  cell_positions.clear();
}

platform::MessageResult cell_colour_proc(platform::WindowHandle window, unsigned message,
                                         std::uintptr_t wparam, std::intptr_t lparam) {
  if (message == platform::kWmClose) {
    platform::set_window_proc(window, previous_proc);
  } else if (message == platform::kWmNotify && lparam != 0) {
    const auto* header = reinterpret_cast<const platform::NotifyHeader*>(lparam);
    if (header->code == platform::kNmCustomDraw) {
      if (const ListColours* colours = find_list(header->from)) {
        auto* record = reinterpret_cast<platform::ListCustomDraw*>(lparam);
        return answer_custom_draw(*colours, *record, window, message, wparam, lparam);
      }
    }
  }
  return platform::call_window_proc(previous_proc, window, message, wparam, lparam);
}

void reset_cell_colours_for_testing() {
  colour_store.clear();
  cell_positions.clear();
  painter_installed = false;
  previous_proc = nullptr;
}
