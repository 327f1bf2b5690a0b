// The left-click handler of the fund list: hands the main window's detail
// controls to the fund detail panel. User-interface thread only.
#pragma once

#include "app/event_table.h"

// Loads the detail of the selected fund (kFundListLeftClick).
void show_fund_detail(const EventContext& context);
