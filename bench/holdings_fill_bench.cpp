// A click on a fund row whose stock-quote reply lists 2,000 and then 20,000
// securities: the detail panel cuts the reply, fills the self-sorting
// holdings list and colours it, against a loopback server. Also the final
// recolouring of 10,000 fund rows. Runs the real window offscreen; each
// timing includes the paint that shows the result. Aim: under 1 s each, and
// the 20,000 fill within 15 times the 2,000 one (n log n would give ~13).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "app/fund_rows.h"
#include "app/main_window.h"
#include "detail/fund_detail.h"
#include "listview/report_list.h"
#include "platform/application.h"
#include "platform/events.h"
#include "platform/testing/local_servers.h"
#include "timing.h"

namespace {

using bench::Clock;
using bench::median;
using bench::seconds_since;
using testing_servers::LocalServer;
using testing_servers::Reply;
using testing_servers::ServedRequest;

// A quote reply of `records` distinct securities in shuffled order, half of
// them rising, so every insert lands somewhere inside the sorted list.
std::string quote_reply(int records) {
  std::vector<int> codes(records);
  for (int i = 0; i < records; ++i) codes[i] = 100000 + i * 37 % 900000;
  std::shuffle(codes.begin(), codes.end(), std::mt19937(5));
  std::string reply = "cb({\"rc\":0,\"data\":{\"total\":" + std::to_string(records) + ",\"diff\":[";
  for (int i = 0; i < records; ++i) {
    std::string code = std::to_string(codes[i]);
    reply += std::string(i > 0 ? "," : "") + "{\"f2\":12.34,\"f3\":" + (i % 2 ? "1.25" : "-0.50") +
             ",\"f9\":31.2,\"f12\":\"" + code + "\",\"f14\":\"S" + code + "\"}";
  }
  return reply + "]}});";
}

}  // namespace

int main() {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  platform::Application application;
  std::string replies[2] = {quote_reply(2000), quote_reply(20000)};
  int current = 0;
  LocalServer server([&](const ServedRequest& request) {
    if (request.target.rfind("/FundArchivesDatas.aspx", 0) == 0) {
      return Reply{.body =
                       "</td></tr></tbody></table><div class='hide' id='gpdmList'>1.600519,"
                       "</div></div></div>"};
    }
    if (request.target.rfind("/api/qt/ulist.np/get", 0) == 0) {
      return Reply{.body = replies[current]};
    }
    return Reply{.status = 404, .body = ""};
  });
  std::string base = server.url("");
  Endpoints endpoints{.trend_chart = base, .holdings = base, .stock_quote = base, .overview = base};

  MainWindow window;
  window.window.show();
  list_insert_row(window.超级列表框1, 0, "990001");
  window.超级列表框1.select_row(0);
  DetailPanel panel{.window = window.window,
                    .fund_list = window.超级列表框1,
                    .chart = window.图片框1,
                    .holdings = window.超级列表框2,
                    .overview = window.标签3};

  const int sizes[2] = {2000, 20000};
  const int runs[2] = {5, 3};
  double fill_seconds[2] = {0, 0};
  bool complete = true;
  for (int which = 0; which < 2; ++which) {
    current = which;
    std::vector<double> times;
    for (int run = 0; run < runs[which]; ++run) {
      Clock::time_point start = Clock::now();
      show_fund_detail(panel, endpoints);
      platform::process_pending_events();
      times.push_back(seconds_since(start));
      complete = complete && list_row_count(window.超级列表框2) == sizes[which];
    }
    fill_seconds[which] = median(times);
    std::printf("holdings fill and colour, %d records: %.3f s (aim: under 1 s)\n", sizes[which],
                fill_seconds[which]);
  }

  // The last step of an import of 10,000 funds: colouring every fund row.
  list_clear(window.超级列表框1);
  for (int i = 0; i < 10000; ++i) {
    Text code = std::to_string(200000 + i);
    list_insert_row(window.超级列表框1, 0, code);
    list_set_cell(window.超级列表框1, 0, 3, i % 2 ? "1.5" : "-0.3");
  }
  std::vector<double> recolours;
  for (int run = 0; run < 3; ++run) {
    Clock::time_point start = Clock::now();
    recolour_fund_list(window);
    platform::process_pending_events();
    recolours.push_back(seconds_since(start));
  }
  std::printf("recolour 10000 fund rows: %.3f s (aim: under 1 s)\n", median(recolours));
  if (!complete) {
    std::fprintf(stderr, "holdings_fill_bench: the holdings list missed rows\n");
    return 1;
  }
  std::printf("holdings fill 20000/2000 time ratio: %.1f\n", fill_seconds[1] / fill_seconds[0]);
  return 0;
}
