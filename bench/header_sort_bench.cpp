// The column-header sort of a fund list of 500 rows on the real window
// (offscreen): a descending text sort with pending events processed after
// every comparison and every row, then the recolouring, then the paint.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "app/column_sort.h"
#include "app/main_window.h"
#include "funddata/holdings_cache.h"
#include "listview/report_list.h"
#include "platform/application.h"
#include "platform/events.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRows = 500;
constexpr int kRounds = 5;
constexpr int kGrowthColumn = 3;

}  // namespace

int main() {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  platform::Application application;
  MainWindow window;
  window.window.show();
  ReportList& list = window.超级列表框1;
  Endpoints endpoints;
  HoldingsCache holdings;
  EventContext context{
      .window = window, .endpoints = endpoints, .holdings = holdings, .column = kGrowthColumn};

  std::mt19937 random(7);
  std::uniform_int_distribution<int> growth(-500, 500);
  std::vector<double> times;
  for (int round = 0; round < kRounds; ++round) {
    list_clear(list);
    for (int row = 0; row < kRows; ++row) {
      char code[8], text[16];
      std::snprintf(code, sizeof code, "97%04d", row);
      std::snprintf(text, sizeof text, "%.2f%%", growth(random) / 100.0);
      int r = list_insert_row(list, -1, code);
      list_set_cell(list, r, kGrowthColumn, text);
    }
    platform::process_pending_events();
    Clock::time_point start = Clock::now();
    sort_fund_list_by_column(context);
    platform::process_pending_events();
    times.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    std::printf("round %d: %.1f ms\n", round + 1, times.back() * 1000);
  }
  std::sort(times.begin(), times.end());
  std::printf("header sort of %d rows: %.1f ms (median of %d)\n", kRows, times[kRounds / 2] * 1000,
              kRounds);
  return 0;
}
