#include "listview/cell_colours.h"

#include "platform/report_list_view.h"

std::vector<ListColours> colour_store;

namespace {

bool painter_installed = false;
platform::WindowProc previous_proc = nullptr;

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
      const CellColour* found = nullptr;
      for (const CellColour& cell : colours.cells) {
        if (cell.row >= 0 && static_cast<std::uintptr_t>(cell.row) == record.item &&
            cell.column == record.sub_item) {
          found = &cell;
          break;
        }
      }
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
  std::vector<CellColour> cells = entry != nullptr ? entry->cells : std::vector<CellColour>{};
  bool replaced = false;
  for (auto it = cells.begin(); it != cells.end(); ++it) {
    if (it->row == row && it->column == column) {
      if (own_pair) {
        cells.erase(it);
      } else {
        *it = wanted;
        replaced = true;
      }
      break;
    }
  }
  if (!replaced && !own_pair) cells.push_back(wanted);

  if (entry != nullptr) {
    entry->cells = std::move(cells);
  } else {
    colour_store.push_back(ListColours{.list = list.handle(), .cells = std::move(cells)});
  }
  list.repaint();
}

void clear_cell_colours(platform::Window&, const ReportList* list) {
  if (!painter_installed) return;
  if (list != nullptr) {
    if (ListColours* entry = find_list(list->handle())) {
      entry->cells.clear();
      repaint_list(entry->list);
    }
    return;
  }
  for (ListColours& entry : colour_store) {
    entry.cells.clear();
    repaint_list(entry.list);
  }
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
  painter_installed = false;
  previous_proc = nullptr;
}
