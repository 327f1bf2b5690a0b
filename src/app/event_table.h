// The event table of MainWindow: which handler runs for each control event.
// A handler is one free function taking the event's context; adding one is
// writing the function and one line in the table (event_table.cpp). An event
// without a line does nothing. User-interface thread only.
#pragma once

#include <span>

#include "app/main_window.h"
#include "funddata/endpoints.h"
#include "funddata/holdings_cache.h"

enum class WindowEvent {
  kCreated,                // MainWindow created with all controls
  kImportClicked,          // 按钮1
  kSaveClicked,            // 按钮3
  kAddClicked,             // 按钮2
  kRefreshClicked,         // 按钮4
  kTimerElapsed,           // 时钟1
  kIntervalChanged,        // text of 编辑框2 changed
  kFundListHeaderClicked,  // column header of 超级列表框1
  kFundListLeftClick,      // left click anywhere in 超级列表框1
  kFundListRightClick,     // right click anywhere in 超级列表框1
};

struct EventContext {
  MainWindow& window;
  const Endpoints& endpoints;
  HoldingsCache& holdings;  // the funds' holdings fetched so far this run
  int column = -1;          // kFundListHeaderClicked: the clicked column, 0-based; else -1
};

using EventHandler = void (*)(const EventContext& context);

struct EventBinding {
  WindowEvent event;
  EventHandler handler;
};

// The program's table.
std::span<const EventBinding> event_table();

// Connects every control event of `window` to the first handler `table`
// names for it. Keeps a copy of `endpoints` and one holdings cache for the
// window's life; `table` must outlive `window`.
void wire_events(MainWindow& window, const Endpoints& endpoints,
                 std::span<const EventBinding> table = event_table());
