// Cuts the five quote lists (price, change, P/E, code, name) out of a 1 MB
// stock-quote reply the way a click on a fund row does, letting the shown
// main window process its pending events after every item. Prints the
// median of 21 runs against the aim of 50 ms.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/event_table.h"
#include "app/main_window.h"
#include "funddata/quote_lists.h"
#include "platform/application.h"
#include "platform/events.h"
#include "sample_server/stock_quotes.h"
#include "text/code_page_text.h"

namespace {

constexpr std::size_t kReplyBytes = 1 << 20;
constexpr int kRuns = 21;
constexpr double kAimMs = 50;
// The fields the detail panel asks for.
constexpr const char* kDetailFields = "f2,f3,f12,f14,f9";

// A reply in the sample server's format, with the detail panel's fields,
// and as many records as make it
// 1 MB or a little more: the five sample securities over and over.
Text one_megabyte_reply(std::size_t* records) {
  const std::string five = "0.000011,0.300012,1.600013,1.601014,0.002015,";
  std::size_t empty = sample::quote_reply("cb", "", kDetailFields).size();
  std::size_t per_five = sample::quote_reply("cb", five, kDetailFields).size() - empty;
  std::size_t repeats = (kReplyBytes - empty + per_five - 1) / per_five;
  std::string secids;
  for (std::size_t i = 0; i < repeats; ++i) secids += five;
  *records = 5 * repeats;
  return sample::quote_reply("cb", secids, kDetailFields);
}

double milliseconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

}  // namespace

int main() {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  platform::Application application;
  MainWindow window;
  wire_events(window, Endpoints{});
  window.window.show();
  platform::process_pending_events();

  std::size_t records = 0;
  Text utf8 = one_megabyte_reply(&records);
  auto converted_at = std::chrono::steady_clock::now();
  Text text = utf8_to_ansi(utf8);
  double convert_ms = milliseconds_since(converted_at);

  std::vector<double> times;
  bool complete = true;
  for (int run = 0; run < kRuns; ++run) {
    auto start = std::chrono::steady_clock::now();
    QuoteLists lists = cut_quote_lists(text, platform::process_pending_events);
    times.push_back(milliseconds_since(start));
    for (const std::vector<Text>* list :
         {&lists.f2, &lists.f3, &lists.f9, &lists.f12, &lists.f14}) {
      complete = complete && list->size() == records;
    }
  }
  // Where the time goes: the cut without event processing, and the event
  // processing alone (one call per item, as the cut makes them).
  auto lap = std::chrono::steady_clock::now();
  std::size_t items = 0;
  {
    QuoteLists lists = cut_quote_lists(text);
    items =
        lists.f2.size() + lists.f3.size() + lists.f9.size() + lists.f12.size() + lists.f14.size();
  }
  double cut_alone_ms = milliseconds_since(lap);
  lap = std::chrono::steady_clock::now();
  for (std::size_t i = 0; i < items; ++i) platform::process_pending_events();
  double events_alone_ms = milliseconds_since(lap);

  std::sort(times.begin(), times.end());
  double median = times[kRuns / 2];
  std::printf("quote reply: %zu bytes UTF-8, %zu bytes GBK, %zu records\n", utf8.size(),
              text.size(), records);
  std::printf("utf8_to_ansi of the reply: %.1f ms (once)\n", convert_ms);
  std::printf("cut five lists: median %.1f ms, best %.1f ms, worst %.1f ms over %d runs\n", median,
              times.front(), times.back(), kRuns);
  std::printf("of which: the cut alone %.1f ms, %zu event-processing calls alone %.1f ms\n",
              cut_alone_ms, items, events_alone_ms);
  std::printf("aim: at most %.0f ms: %s\n", kAimMs, median <= kAimMs ? "met" : "MISSED");
  if (!complete) std::printf("error: a list did not hold one item per record\n");
  return complete ? 0 : 1;
}
