// The rows of the fund list 超级列表框1: adding a fund, refreshing every row,
// the refresh period of 时钟1, removing the selected row and the colouring
// rule (white on red when rising, else black on green). Every cell write
// finds its row again by code, because each request lets other handlers run
// and change the list meanwhile. User-interface thread only.
#pragma once

#include "app/event_table.h"
#include "app/main_window.h"
#include "app/notice_cap.h"
#include "funddata/endpoints.h"
#include "funddata/fund_estimate.h"
#include "text/text.h"

enum class AddResult {
  kAdded,           // a new top row holds the fund
  kAlreadyPresent,  // the code was listed already; that row is unchanged
  kBadCode,         // no estimate for the code; the list is unchanged
};

struct AddOptions {
  // When set, a refusal shows its box only while the cap allows it.
  NoticeCap* notices = nullptr;
};

// Fetches the estimate of `code` and, when it has a name and the code is not
// listed yet, inserts it as the new top row. Shows "基金代码有误！" or
// "添加过了！" for the two refusals.
AddResult add_fund_row(MainWindow& window, const Endpoints& endpoints, HoldingsCache& holdings,
                       const Text& code, const AddOptions& options = {});
// The same with an estimate fetched beforehand (an import fetches all its
// codes at once).
AddResult add_fetched_fund_row(MainWindow& window, const Text& code, const FundEstimate& estimate,
                               const AddOptions& options = {});

// The text of column 5 for `estimate`: its time, followed by the computed
// marker " 算" when it was computed from the fund's holdings.
Text time_cell(const FundEstimate& estimate);

// Forgets the fund list's colours, then colours the six cells of each row by
// the growth in its column 3. Also used after a sort of the list.
void recolour_fund_list(MainWindow& window);

// The period of 时钟1 for the text of 编辑框2: its integer value in seconds
// times 1000, clamped to the range of a signed 32-bit integer.
int refresh_period_ms(const Text& seconds_text);

// Handlers.
void initialise_window(const EventContext& context);       // MainWindow created
void add_watched_fund(const EventContext& context);        // 按钮2
void refresh_all_funds(const EventContext& context);       // 按钮4 and 时钟1
void apply_refresh_interval(const EventContext& context);  // 编辑框2 changed
void remove_selected_fund(const EventContext& context);    // right click in 超级列表框1
