#include "app/fund_rows.h"

#include <cmath>
#include <limits>

#include "funddata/batch_estimates.h"
#include "funddata/fund_estimate.h"
#include "listview/cell_colours.h"
#include "listview/report_list.h"
#include "platform/message_box.h"
#include "text/gbk_literal.h"
#include "text/number.h"

namespace {

constexpr int kCodeBytes = 6;
constexpr int kFundColumns = 6;
constexpr Colour kRisingText = 0xFFFFFF;
constexpr Colour kRisingBackground = 0x0000FF;
constexpr Colour kOtherText = 0x000000;
constexpr Colour kOtherBackground = 0x00FF00;

void notice(const char* utf8_text) { platform::message_box(gbk(utf8_text), gbk("提示信息")); }

// A refusal of add_fund_row: its box, unless the caller's cap holds it back.
void refusal_notice(const AddOptions& options, const char* utf8_text) {
  if (options.notices == nullptr || options.notices->allow()) notice(utf8_text);
}

Text growth_cell(const FundEstimate& estimate) { return estimate.gszzl + gbk("%"); }

// Finds the row of `code` again and writes one cell of it; nothing when the
// code is no longer listed.
void write_cell(ReportList& list, const Text& code, int column, const Text& text) {
  list_set_cell(list, list_find_row(list, code), column, text);
}

// Writes the four value cells of the row of `code`, finding it again before
// each write.
void write_values(ReportList& list, const Text& code, const FundEstimate& estimate) {
  write_cell(list, code, 2, estimate.gsz);
  write_cell(list, code, 3, growth_cell(estimate));
  write_cell(list, code, 4, estimate.dwjz);
  write_cell(list, code, 5, time_cell(estimate));
}

}  // namespace

Text time_cell(const FundEstimate& estimate) {
  static const Text kComputed = gbk(" 算");
  return estimate.computed ? estimate.gztime + kComputed : estimate.gztime;
}

AddResult add_fund_row(MainWindow& window, const Endpoints& endpoints, HoldingsCache& holdings,
                       const Text& code, const AddOptions& options) {
  FundEstimate estimate = uses_per_fund_estimates(endpoints)
                              ? fetch_estimate(code, endpoints)
                              : fetch_estimates({code}, endpoints, holdings).front();
  return add_fetched_fund_row(window, code, estimate, options);
}

AddResult add_fetched_fund_row(MainWindow& window, const Text& code, const FundEstimate& estimate,
                               const AddOptions& options) {
  ReportList& list = window.超级列表框1;
  if (estimate.name.empty()) {
    refusal_notice(options, "基金代码有误！");
    return AddResult::kBadCode;
  }
  if (list_find_row(list, code) >= 0) {
    refusal_notice(options, "添加过了！");
    return AddResult::kAlreadyPresent;
  }
  list_insert_row(list, 0, code);
  write_cell(list, code, 1, estimate.name);
  write_values(list, code, estimate);
  return AddResult::kAdded;
}

void recolour_fund_list(MainWindow& window) {
  ReportList& list = window.超级列表框1;
  clear_cell_colours(window.window, &list);
  int rows = list_row_count(list);
  for (int row = 0; row < rows; ++row) {
    bool rising = is_rising(list_get_cell(list, row, 3));
    Colour text = rising ? kRisingText : kOtherText;
    Colour background = rising ? kRisingBackground : kOtherBackground;
    for (int column = 0; column < kFundColumns; ++column) {
      set_cell_colour(window.window, list, row, column, text, background);
    }
  }
}

int refresh_period_ms(const Text& seconds_text) {
  double period = static_cast<double>(text_to_integer(seconds_text)) * 1000.0;
  constexpr double kLargest = std::numeric_limits<int>::max();
  constexpr double kSmallest = std::numeric_limits<int>::min();
  if (period > kLargest) return std::numeric_limits<int>::max();
  if (period < kSmallest) return std::numeric_limits<int>::min();
  return static_cast<int>(std::trunc(period));
}

void initialise_window(const EventContext& context) {
  recolour_fund_list(context.window);
  apply_refresh_interval(context);
}

void add_watched_fund(const EventContext& context) {
  Text code = context.window.编辑框1.text();
  if (code.size() != kCodeBytes) {
    notice("基金代码有误！");
    return;
  }
  if (add_fund_row(context.window, context.endpoints, context.holdings, code) !=
      AddResult::kBadCode) {
    recolour_fund_list(context.window);
  }
}

void refresh_all_funds(const EventContext& context) {
  ReportList& list = context.window.超级列表框1;
  int rows = list_row_count(list);
  if (uses_per_fund_estimates(context.endpoints)) {
    for (int position = 0; position < rows; ++position) {
      // Rows removed by a handler that ran during an earlier request leave
      // positions past the end: there is no code there to refresh.
      if (position >= list_row_count(list)) continue;
      Text code = list_get_cell(list, position, 0);
      write_values(list, code, fetch_estimate(code, context.endpoints));
    }
  } else {
    // All codes in one go; rows removed during the requests find no row
    // to write, rows added meanwhile wait for the next refresh.
    std::vector<Text> codes;
    for (int position = 0; position < rows; ++position) {
      codes.push_back(list_get_cell(list, position, 0));
    }
    std::vector<FundEstimate> estimates =
        fetch_estimates(codes, context.endpoints, context.holdings);
    for (std::size_t i = 0; i < codes.size(); ++i) write_values(list, codes[i], estimates[i]);
  }
  recolour_fund_list(context.window);
}

void apply_refresh_interval(const EventContext& context) {
  context.window.时钟1.set_period(refresh_period_ms(context.window.编辑框2.text()));
}

void remove_selected_fund(const EventContext& context) {
  ReportList& list = context.window.超级列表框1;
  std::vector<int> selected = list_selected_rows(list);
  if (selected.empty()) return;
  list_delete_row(list, selected.front());
  // Colours are recorded by position; recolour so each row keeps its own.
  recolour_fund_list(context.window);
}
