// Refresh of 100 listed funds against the sample data server adding 20 ms to
// every reply, in the default build (the valuation service, two requests of
// 50 codes) and in a build with a per-fund estimate host (100 requests), side
// by side in the same run. The floor is one round trip: a bare libcurl GET of
// the valuation reply for the first 50 codes, with the same delay. Runs the
// real window offscreen; each refresh timing includes the paint that shows
// the result.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/fund_rows.h"
#include "app/main_window.h"
#include "bare_curl.h"
#include "funddata/holdings_cache.h"
#include "funddata/valuation.h"
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
constexpr int kRounds = 5;
constexpr std::chrono::milliseconds kDelay{20};

Text code_of(int i) {
  char code[8];
  std::snprintf(code, sizeof code, "97%04d", i);
  return code;
}

// One refresh of `window`'s rows with `endpoints`, up to its paint; the
// count of rows left without a value is added to `failures`.
double timed_refresh(MainWindow& window, const Endpoints& endpoints, int* failures) {
  ReportList& list = window.超级列表框1;
  for (int row = 0; row < kFunds; ++row) list_set_cell(list, row, 2, "");
  HoldingsCache holdings;
  EventContext context{.window = window, .endpoints = endpoints, .holdings = holdings};
  Clock::time_point start = Clock::now();
  refresh_all_funds(context);
  platform::process_pending_events();
  double seconds = seconds_since(start);
  for (int row = 0; row < kFunds; ++row) *failures += list_get_cell(list, row, 2).empty();
  return seconds;
}

}  // namespace

int main() {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  curl_global_init(CURL_GLOBAL_DEFAULT);
  platform::Application application;
  sample::SampleServer server;
  if (!server.start()) {
    std::fprintf(stderr, "valuation_refresh_bench: the sample server did not start\n");
    return 1;
  }
  const Endpoints valuation{.valuation = server.http_base(),
                            .valuation_backup = server.http_base()};
  const Endpoints per_fund{.fund_estimate = server.http_base()};
  MainWindow window;
  window.window.show();
  ReportList& list = window.超级列表框1;
  std::vector<Text> codes;
  for (int i = kFunds - 1; i >= 0; --i) list_insert_row(list, 0, code_of(i));
  for (int i = 0; i < kFunds; ++i) codes.push_back(code_of(i));
  const std::string floor_url =
      valuation_url(server.http_base(), {codes.begin(), codes.begin() + kValuationCodesPerRequest});

  int failures = 0;
  timed_refresh(window, valuation, &failures);  // warm up every path once
  timed_refresh(window, per_fund, &failures);
  bench::bare_get(floor_url);
  server.set_delay(kDelay);
  std::vector<double> ratios, batches, singles, floors;
  for (int round = 0; round < kRounds; ++round) {
    double batch = timed_refresh(window, valuation, &failures);
    double single = timed_refresh(window, per_fund, &failures);
    Clock::time_point start = Clock::now();
    failures += bench::bare_get(floor_url).find("\"success\":true") == std::string::npos;
    double floor = seconds_since(start);
    batches.push_back(batch);
    singles.push_back(single);
    floors.push_back(floor);
    ratios.push_back(batch / floor);
    std::printf("round %d: valuation refresh %.3f s, per-fund refresh %.3f s, round trip %.3f s\n",
                round + 1, batch, single, floor);
  }
  server.set_delay(std::chrono::milliseconds{0});

  std::printf("refresh of %d funds with %lld ms per reply (median of %d):\n", kFunds,
              static_cast<long long>(kDelay.count()), kRounds);
  std::printf("  valuation service (%d requests): %.3f s\n",
              (kFunds + static_cast<int>(kValuationCodesPerRequest) - 1) /
                  static_cast<int>(kValuationCodesPerRequest),
              median(batches));
  std::printf("  per-fund service (%d requests): %.3f s\n", kFunds, median(singles));
  std::printf("one round trip of a bare libcurl GET of the valuation reply: %.3f s\n",
              median(floors));
  std::printf("per-fund refresh/one round trip ratio: %.1f\n", median(singles) / median(floors));
  if (failures > 0) std::printf("failed requests: %d\n", failures);
  std::printf("valuation refresh/one round trip ratio: %.3f\n", median(ratios));
  server.stop();
  curl_global_cleanup();
  return failures == 0 ? 0 : 1;
}
