#include "app/event_table.h"

#include <memory>
#include <vector>

#include "app/column_sort.h"
#include "app/detail_handler.h"
#include "app/fund_rows.h"
#include "app/watch_list.h"

namespace {

// One line per handled event, with the handler declared in the header of the
// module that owns it.
const std::vector<EventBinding> kEventTable = {
    {WindowEvent::kCreated, initialise_window},
    {WindowEvent::kImportClicked, import_watch_list},
    {WindowEvent::kSaveClicked, save_watch_list},
    {WindowEvent::kAddClicked, add_watched_fund},
    {WindowEvent::kRefreshClicked, refresh_all_funds},
    {WindowEvent::kTimerElapsed, refresh_all_funds},
    {WindowEvent::kIntervalChanged, apply_refresh_interval},
    {WindowEvent::kFundListHeaderClicked, sort_fund_list_by_column},
    {WindowEvent::kFundListLeftClick, show_fund_detail},
    {WindowEvent::kFundListRightClick, remove_selected_fund},
};

struct Router {
  MainWindow& window;
  Endpoints endpoints;
  std::span<const EventBinding> table;
  std::shared_ptr<HoldingsCache> holdings = std::make_shared<HoldingsCache>();

  void dispatch(WindowEvent event, int column = -1) const {
    for (const EventBinding& binding : table) {
      if (binding.event != event) continue;
      if (binding.handler != nullptr) {
        binding.handler(EventContext{
            .window = window, .endpoints = endpoints, .holdings = *holdings, .column = column});
      }
      return;
    }
  }
};

}  // namespace

std::span<const EventBinding> event_table() { return kEventTable; }

void wire_events(MainWindow& window, const Endpoints& endpoints,
                 std::span<const EventBinding> table) {
  auto router = std::make_shared<const Router>(Router{window, endpoints, table});
  auto on = [router](WindowEvent event) { return [router, event] { router->dispatch(event); }; };
  window.window.on_created(on(WindowEvent::kCreated));
  window.按钮1.on_clicked(on(WindowEvent::kImportClicked));
  window.按钮3.on_clicked(on(WindowEvent::kSaveClicked));
  window.按钮2.on_clicked(on(WindowEvent::kAddClicked));
  window.按钮4.on_clicked(on(WindowEvent::kRefreshClicked));
  window.时钟1.on_elapsed(on(WindowEvent::kTimerElapsed));
  window.编辑框2.on_text_changed(on(WindowEvent::kIntervalChanged));
  window.超级列表框1.on_column_click(
      [router](int column) { router->dispatch(WindowEvent::kFundListHeaderClicked, column); });
  window.超级列表框1.on_left_click(on(WindowEvent::kFundListLeftClick));
  window.超级列表框1.on_right_click(on(WindowEvent::kFundListRightClick));
}
