// Test support for the GUI flows of the fund list: the real MainWindow,
// shown offscreen and wired to the program's event table, talking to an
// in-process sample data server, with message boxes recorded and files kept
// in memory. Estimates come from the per-fund service unless a derived
// fixture asks for the valuation build. One fixture per test; user-interface
// thread only.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/event_table.h"
#include "app/main_window.h"
#include "listview/cell_colours.h"
#include "listview/report_list.h"
#include "platform/testing/memory_file_system.h"
#include "platform/testing/message_box_recorder.h"
#include "platform/testing/probe.h"
#include "platform/timer.h"
#include "sample_server/sample_data.h"
#include "sample_server/sample_server.h"
#include "text/gbk_literal.h"

inline constexpr platform::Colour kRed = 0x0000FF;
inline constexpr platform::Colour kGreen = 0x00FF00;

// Runs `action` once, at the first event processing after it is armed: the
// way a click or tick queued by the user reaches the program while a request
// is waiting for its reply.
class Injected {
 public:
  explicit Injected(std::function<void()> action) : action_(std::move(action)) {
    timer_.on_elapsed([this] {
      timer_.set_period(0);
      if (action_) std::exchange(action_, nullptr)();
    });
    timer_.set_period(1);
  }
  bool done() const { return !action_; }

 private:
  std::function<void()> action_;
  platform::Timer timer_{{}};
};

class FundWindowTest : public testing::Test {
 protected:
  FundWindowTest() { reset_cell_colours_for_testing(); }

  void SetUp() override {
    ASSERT_TRUE(server.start());
    // The valuation hosts are set too, so that a valuation request by the
    // per-fund build would show in the server's log.
    endpoints = Endpoints{.fund_estimate = server.http_base(),
                          .valuation = server.http_base(),
                          .valuation_backup = server.http_base(),
                          .trend_chart = server.http_base(),
                          .holdings = server.http_base(),
                          .stock_quote = server.https_base(),
                          .overview = server.http_base()};
    if (valuation_build) {
      ASSERT_TRUE(backup.start());
      endpoints.fund_estimate.clear();
      endpoints.valuation_backup = backup.http_base();
    }
    wire_events(w, endpoints);
    w.window.show();
  }

  // Types `code` into 编辑框1 and clicks 按钮2.
  void add(const Text& code) {
    w.编辑框1.set_text(code);
    w.按钮2.click();
  }

  // The texts of the first `columns` cells of every row, top row first.
  static std::vector<std::vector<Text>> cell_texts(const ReportList& list, int columns) {
    std::vector<std::vector<Text>> result;
    for (int row = 0; row < list_row_count(list); ++row) {
      std::vector<Text> cells;
      for (int column = 0; column < columns; ++column) {
        cells.push_back(list_get_cell(list, row, column));
      }
      result.push_back(cells);
    }
    return result;
  }

  // Every row's six texts, top row first.
  std::vector<std::vector<Text>> rows() const { return cell_texts(w.超级列表框1, 6); }

  // The column-0 texts, top row first.
  std::vector<Text> codes() const {
    std::vector<Text> result;
    for (const auto& row : rows()) result.push_back(row[0]);
    return result;
  }

  // The row a fresh add of the sample fund `code` shows.
  static std::vector<Text> sample_row(const std::string& code) {
    sample::SampleFund fund = sample::find_fund(code).value();
    return {code, gbk(fund.name), fund.gsz, fund.gszzl + "%", fund.dwjz, fund.gztime};
  }

  // Targets of the estimate requests the server received, oldest first.
  std::vector<std::string> estimate_requests() const {
    std::vector<std::string> result;
    for (const sample::RequestRecord& request : server.requests()) {
      if (request.target.starts_with("/js/")) result.push_back(request.target);
    }
    return result;
  }

  // The FCODES lists of the valuation requests `s` received, oldest first;
  // each request must carry the service's path and field list.
  static std::vector<std::string> valuation_requests(const sample::SampleServer& s) {
    std::vector<std::string> result;
    const std::string prefix = "/mm/newCore/FundValuationLast?FCODES=";
    const std::string fields = "&FIELDS=FCODE,SHORTNAME,GSZZL,GZTIME,GSZ,NAV,PDATE";
    for (const sample::RequestRecord& request : s.requests()) {
      if (!request.target.starts_with("/mm/")) continue;
      EXPECT_TRUE(request.target.starts_with(prefix) && request.target.ends_with(fields))
          << request.target;
      result.push_back(request.target.substr(
          prefix.size(),
          request.target.size() - std::min(request.target.size(), prefix.size() + fields.size())));
    }
    return result;
  }
  std::vector<std::string> valuation_requests() const { return valuation_requests(server); }

  // The colour behind the text of a cell, on the grabbed pixels.
  platform::Colour background(int row, int column) const {
    platform::Rect cell = platform::probe::cell_rect(w.超级列表框1, row, column);
    return platform::probe::pixel(platform::probe::grab(w.超级列表框1), cell.left + cell.width - 3,
                                  cell.top + cell.height / 2);
  }

  // The background of all six cells of each row, top row first, as seen.
  // Clears the selection first: its highlight is painted over the colours.
  std::vector<platform::Colour> row_colours() {
    w.超级列表框1.select_row(-1);
    std::vector<platform::Colour> result;
    for (int row = 0; row < list_row_count(w.超级列表框1); ++row) {
      platform::Colour first = background(row, 0);
      for (int column = 1; column < 6; ++column) {
        EXPECT_EQ(background(row, column), first) << "row " << row << " column " << column;
      }
      result.push_back(first);
    }
    return result;
  }

  // The boxes shown so far as their GBK texts, each under the notice title.
  std::vector<Text> notices() const {
    std::vector<Text> result;
    for (const auto& shown : boxes.shown()) {
      EXPECT_EQ(shown.title, gbk("提示信息"));
      result.push_back(shown.text);
    }
    return result;
  }

  // Set by a derived fixture's constructor: the build without a per-fund
  // estimate host, reading the valuation service of `server`, with `backup`
  // as its backup host.
  bool valuation_build = false;
  sample::SampleServer server;
  sample::SampleServer backup;
  Endpoints endpoints;
  platform::MessageBoxRecorder boxes;
  platform::MemoryFileSystem files{"/opt/fundwatch"};
  platform::ScopedFileSystem scoped_files{files};
  MainWindow w;
};
