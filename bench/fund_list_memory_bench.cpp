// Resident memory of the program's window with 50 funds listed: the window
// is built and shown as the program does, 50 fund rows are written and
// coloured, and one fund's detail is loaded over loopback from the sample
// data server (run as its own process, so its memory is not counted).
// Prints VmRSS and the peak VmHWM against the aim of 60 MB.
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/event_table.h"
#include "app/main_window.h"
#include "listview/cell_colours.h"
#include "listview/report_list.h"
#include "platform/application.h"
#include "platform/testing/first_paint.h"
#include "platform/testing/probe.h"
#include "sample_server/sample_data.h"
#include "text/code_page_text.h"
#include "text/number.h"

extern char** environ;

namespace {

constexpr int kFunds = 50;
constexpr double kAimMb = 60;
constexpr int kServerLimitMs = 20000;

struct ServerProcess {
  pid_t pid = 0;
  std::string http;
  std::string https;
};

// Starts the sample server on free ports and reads its two address lines.
bool start_server(ServerProcess* server) {
  int out[2];
  if (pipe(out) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  char path[] = FUNDWATCH_SAMPLE_SERVER;
  char* argv[] = {path, nullptr};
  int failed = posix_spawn(&server->pid, path, &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (failed != 0) {
    close(out[0]);
    return false;
  }
  std::string text;
  pollfd wait_for{.fd = out[0], .events = POLLIN, .revents = 0};
  char buffer[256];
  auto lines = [&] { return std::count(text.begin(), text.end(), '\n'); };
  while (lines() < 2 && poll(&wait_for, 1, kServerLimitMs) > 0) {
    ssize_t n = read(out[0], buffer, sizeof buffer);
    if (n <= 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  close(out[0]);
  std::size_t http = text.find("http "), https = text.find("https ");
  if (lines() < 2 || http == std::string::npos || https == std::string::npos) return false;
  server->http = text.substr(http + 5, text.find('\n', http) - http - 5);
  server->https = text.substr(https + 6, text.find('\n', https) - https - 6);
  return true;
}

void stop_server(const ServerProcess& server) {
  if (server.pid <= 0) return;
  kill(server.pid, SIGTERM);
  int status = 0;
  waitpid(server.pid, &status, 0);
}

// "VmRSS" and "VmHWM" of this process, in MB.
double status_mb(const std::string& key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(key + ":", 0) == 0) return std::atof(line.c_str() + key.size() + 1) / 1024;
  }
  return -1;
}

// The six cells of a fund row, as the estimate reply fills them.
void list_fund(MainWindow& w, const sample::SampleFund& fund) {
  ReportList& list = w.超级列表框1;
  list_insert_row(list, 0, fund.code);
  const std::string cells[] = {utf8_to_ansi(fund.name), fund.gsz, fund.gszzl + "%", fund.dwjz,
                               fund.gztime};
  for (int column = 1; column <= 5; ++column) {
    list_set_cell(list, list_find_row(list, fund.code), column, cells[column - 1]);
  }
}

void colour_funds(MainWindow& w) {
  ReportList& list = w.超级列表框1;
  clear_cell_colours(w.window, &list);
  for (int row = 0; row < list_row_count(list); ++row) {
    bool rising = is_rising(list_get_cell(list, row, 3));
    for (int column = 0; column < 6; ++column) {
      set_cell_colour(w.window, list, row, column, rising ? 16777215 : 0, rising ? 255 : 65280);
    }
  }
}

}  // namespace

int main() {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ServerProcess server;
  if (!start_server(&server)) {
    std::printf("error: the sample server did not start\n");
    stop_server(server);
    return 1;
  }

  int result = 0;
  {
    platform::Application application;
    MainWindow w;
    Endpoints endpoints{.fund_estimate = server.http,
                        .trend_chart = server.http,
                        .holdings = server.http,
                        .stock_quote = server.https,
                        .overview = server.http};
    wire_events(w, endpoints);
    bool painted = false;
    platform::probe::on_first_paint(w.window, [&] { painted = true; });
    w.window.show();
    platform::probe::wait_until([&] { return painted; }, 10000);
    double shown_mb = status_mb("VmRSS");

    for (int i = 1; i <= kFunds; ++i) {
      char code[8];
      std::snprintf(code, sizeof code, "97%04d", i);
      list_fund(w, *sample::find_fund(code));
    }
    colour_funds(w);
    platform::Rect cell = platform::probe::cell_rect(w.超级列表框1, 0, 1);
    platform::probe::click_list(w.超级列表框1, cell.left + 5, cell.top + cell.height / 2,
                                platform::probe::MouseButton::kLeft);
    platform::probe::wait_until([] { return false; }, 200);  // let every repaint happen

    bool loaded = list_row_count(w.超级列表框1) == kFunds && list_row_count(w.超级列表框2) > 0 &&
                  w.图片框1.has_picture();
    double rss_mb = status_mb("VmRSS"), peak_mb = status_mb("VmHWM");
    std::printf("window shown, empty: VmRSS %.1f MB\n", shown_mb);
    std::printf("%d funds listed and coloured, one detail loaded: VmRSS %.1f MB, peak %.1f MB\n",
                kFunds, rss_mb, peak_mb);
    std::printf("aim: at most %.0f MB: %s\n", kAimMb, rss_mb <= kAimMb ? "met" : "MISSED");
    if (!loaded) {
      std::printf("error: the funds or the detail did not load\n");
      result = 1;
    }
  }
  stop_server(server);
  return result;
}
