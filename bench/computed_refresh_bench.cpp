// Refresh of 100 listed funds, 80 of them without a service estimate, in the
// default build against the sample data server adding 20 ms to every reply:
// their estimates are computed from holdings. The first refresh of a run
// fetches every such fund's holdings page; later ones only the valuation and
// one quote request. The floor is one round trip: a bare libcurl GET of the
// valuation reply for the first 50 codes, with the same delay. Runs the real
// window offscreen; each timing includes the paint that shows the result.
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
constexpr int kWithoutEstimate = 80;
constexpr int kRounds = 5;
constexpr std::chrono::milliseconds kDelay{20};

// "96dddd" sample funds have no service estimate, "97dddd" ones have one.
Text code_of(int i) {
  char code[8];
  std::snprintf(code, sizeof code, i < kWithoutEstimate ? "96%04d" : "97%04d", i);
  return code;
}

struct Refresh {
  double seconds = 0;
  std::size_t requests = 0;
};

// One refresh of `window`'s rows, up to its paint; the count of rows left
// without an estimate is added to `failures`.
Refresh timed_refresh(MainWindow& window, const Endpoints& endpoints, HoldingsCache& holdings,
                      sample::SampleServer& server, int* failures) {
  ReportList& list = window.超级列表框1;
  for (int row = 0; row < kFunds; ++row) list_set_cell(list, row, 2, "");
  server.clear_requests();
  EventContext context{.window = window, .endpoints = endpoints, .holdings = holdings};
  Clock::time_point start = Clock::now();
  refresh_all_funds(context);
  platform::process_pending_events();
  Refresh refresh{.seconds = seconds_since(start), .requests = server.requests().size()};
  for (int row = 0; row < kFunds; ++row) *failures += list_get_cell(list, row, 2).empty();
  return refresh;
}

}  // namespace

int main() {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  curl_global_init(CURL_GLOBAL_DEFAULT);
  platform::Application application;
  sample::SampleServer server;
  if (!server.start()) {
    std::fprintf(stderr, "computed_refresh_bench: the sample server did not start\n");
    return 1;
  }
  const Endpoints endpoints{.valuation = server.http_base(),
                            .valuation_backup = server.http_base(),
                            .holdings = server.http_base(),
                            .stock_quote = server.https_base()};
  MainWindow window;
  window.window.show();
  ReportList& list = window.超级列表框1;
  std::vector<Text> codes;
  for (int i = kFunds - 1; i >= 0; --i) list_insert_row(list, 0, code_of(i));
  for (int i = 0; i < kFunds; ++i) codes.push_back(code_of(i));
  const std::string floor_url =
      valuation_url(server.http_base(), {codes.begin(), codes.begin() + kValuationCodesPerRequest});

  int failures = 0;
  {
    HoldingsCache warm;  // every path once, before the delay
    timed_refresh(window, endpoints, warm, server, &failures);
  }
  bench::bare_get(floor_url);
  server.set_delay(kDelay);

  std::vector<double> firsts, laters, ratios, floors;
  std::size_t first_requests = 0, later_requests = 0;
  for (int round = 0; round < kRounds; ++round) {
    HoldingsCache holdings;  // a fresh run: no holdings fetched yet
    Refresh first = timed_refresh(window, endpoints, holdings, server, &failures);
    Refresh later = timed_refresh(window, endpoints, holdings, server, &failures);
    Clock::time_point start = Clock::now();
    failures += bench::bare_get(floor_url).find("\"success\":true") == std::string::npos;
    double floor = seconds_since(start);
    firsts.push_back(first.seconds);
    laters.push_back(later.seconds);
    floors.push_back(floor);
    ratios.push_back(later.seconds / floor);
    first_requests = first.requests;
    later_requests = later.requests;
    std::printf(
        "round %d: first refresh %.3f s (%zu requests), refresh %.3f s (%zu requests), "
        "round trip %.3f s\n",
        round + 1, first.seconds, first.requests, later.seconds, later.requests, floor);
  }
  server.set_delay(std::chrono::milliseconds{0});

  std::printf(
      "refresh of %d funds, %d without a service estimate, %lld ms per reply (median of "
      "%d):\n",
      kFunds, kWithoutEstimate, static_cast<long long>(kDelay.count()), kRounds);
  std::printf("  first refresh, holdings not yet fetched: %.3f s, %zu requests\n", median(firsts),
              first_requests);
  std::printf("  refresh with holdings fetched: %.3f s, %zu requests\n", median(laters),
              later_requests);
  std::printf("one round trip of a bare libcurl GET of the valuation reply: %.3f s\n",
              median(floors));
  std::printf("first refresh/one round trip ratio: %.1f\n", median(firsts) / median(floors));
  if (failures > 0) std::printf("rows without an estimate: %d\n", failures);
  std::printf("holdings refresh/one round trip ratio: %.3f\n", median(ratios));
  server.stop();
  curl_global_cleanup();
  return failures == 0 ? 0 : 1;
}
