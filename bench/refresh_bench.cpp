// Refresh of 100 listed funds against the sample data server adding 20 ms to
// every reply, against a floor of 100 x 20 ms plus a bare libcurl loop over
// the same 100 requests without the delay, measured in the same run (fresh
// handle per request, as the engine opens its own). Also the time to
// recolour a list of 500 rows. Runs the real window offscreen; each timing
// includes the paint that shows the result.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/fund_rows.h"
#include "app/main_window.h"
#include "bare_curl.h"
#include "funddata/fund_estimate.h"
#include "funddata/holdings_cache.h"
#include "listview/report_list.h"
#include "platform/application.h"
#include "platform/events.h"
#include "sample_server/sample_server.h"
#include "timing.h"

namespace {

using bench::Clock;
using bench::median;
using bench::seconds_since;
constexpr int kFunds = 100;
constexpr int kRounds = 3;
constexpr int kColourRows = 500;
constexpr std::chrono::milliseconds kDelay{20};

bool bare_get(const std::string& url) {
  return bench::bare_get(url).find("\"gsz\":\"") != std::string::npos;
}

Text code_of(int i) {
  char code[8];
  std::snprintf(code, sizeof code, "97%04d", i);
  return code;
}

}  // namespace

int main() {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  curl_global_init(CURL_GLOBAL_DEFAULT);
  platform::Application application;
  sample::SampleServer server;
  if (!server.start()) {
    std::fprintf(stderr, "refresh_bench: the sample server did not start\n");
    return 1;
  }
  Endpoints endpoints{.fund_estimate = server.http_base()};
  MainWindow window;
  window.window.show();
  HoldingsCache holdings;
  EventContext context{.window = window, .endpoints = endpoints, .holdings = holdings};
  ReportList& list = window.超级列表框1;
  std::vector<std::string> urls;
  for (int i = kFunds - 1; i >= 0; --i) list_insert_row(list, 0, code_of(i));
  for (int i = 0; i < kFunds; ++i)
    urls.push_back(estimate_url(endpoints.fund_estimate, code_of(i)));

  int failures = 0;
  std::vector<double> ratios, refreshes, floors;
  refresh_all_funds(context);  // warm up both paths once
  bare_get(urls[0]);
  for (int round = 0; round < kRounds; ++round) {
    for (int row = 0; row < kFunds; ++row) list_set_cell(list, row, 2, "");
    server.set_delay(kDelay);
    Clock::time_point start = Clock::now();
    refresh_all_funds(context);
    platform::process_pending_events();  // the paint that shows the new colours
    double refresh = seconds_since(start);
    for (int row = 0; row < kFunds; ++row) failures += list_get_cell(list, row, 2).empty();

    server.set_delay(std::chrono::milliseconds{0});
    start = Clock::now();
    for (const std::string& url : urls) failures += !bare_get(url);
    double floor = kFunds * std::chrono::duration<double>(kDelay).count() + seconds_since(start);
    refreshes.push_back(refresh);
    floors.push_back(floor);
    ratios.push_back(refresh / floor);
    std::printf("round %d: refresh %.3f s, floor %.3f s, ratio %.3f\n", round + 1, refresh, floor,
                refresh / floor);
  }

  // Where a refresh's time goes: its 100 requests alone, a bare loop with
  // the same delay, and the recolouring that ends it.
  server.set_delay(kDelay);
  Clock::time_point start = Clock::now();
  for (int i = 0; i < kFunds; ++i) failures += fetch_estimate(code_of(i), endpoints).gsz.empty();
  double fetches = seconds_since(start);
  start = Clock::now();
  for (const std::string& url : urls) failures += !bare_get(url);
  double bare_delayed = seconds_since(start);
  server.set_delay(std::chrono::milliseconds{0});
  start = Clock::now();
  recolour_fund_list(window);
  platform::process_pending_events();
  double recolour_100 = seconds_since(start);
  std::printf("%d fetch_estimate with %lld ms per reply: %.3f s; bare libcurl: %.3f s\n", kFunds,
              static_cast<long long>(kDelay.count()), fetches, bare_delayed);
  std::printf("recolour of %d rows: %.1f ms\n", kFunds, recolour_100 * 1000);

  // Recolouring: 500 rows, alternating rising and falling.
  std::vector<double> recolours;
  for (int i = kFunds; i < kColourRows; ++i) list_insert_row(list, 0, code_of(i));
  for (int row = 0; row < kColourRows; ++row) {
    list_set_cell(list, row, 3, row % 2 == 0 ? "0.52%" : "-0.52%");
  }
  for (int round = 0; round < 5; ++round) {
    start = Clock::now();
    recolour_fund_list(window);
    platform::process_pending_events();
    recolours.push_back(seconds_since(start));
  }
  std::printf("recolour of %d rows: %.1f ms (median of 5)\n", kColourRows,
              median(recolours) * 1000);
  std::printf("refresh of %d funds with %lld ms per reply: %.3f s (median of %d)\n", kFunds,
              static_cast<long long>(kDelay.count()), median(refreshes), kRounds);
  std::printf("floor: %.3f s (median of %d)\n", median(floors), kRounds);
  if (failures > 0) std::printf("failed requests: %d\n", failures);
  std::printf("refresh/floor time ratio: %.3f\n", median(ratios));
  server.stop();
  curl_global_cleanup();
  return failures == 0 ? 0 : 1;
}
