// An in-process sample data server on 127.0.0.1 for tests, benchmarks and the
// demo: one plain HTTP and one HTTPS listener (self-signed certificate made
// at start), each on its own thread, both answering every path below. The
// controls (delay, failure, hold, request log) are thread-safe; start() and
// stop() belong to the one thread that owns the server.
//
// Paths (the code and the security list are taken from the raw request
// target, unescaped):
//   /js/<code>.js?rt=...                       estimate JSONP "jsonpgz({...});",
//                                              "jsonpgz();" for an unknown code
//   /charts/pic6/<code>.png                    trend chart PNG (240x120), 404
//                                              with an HTML error page if unknown
//   /FundArchivesDatas.aspx?...&code=<code>&.. holdings page with the
//                                              "gpdmList" division; 404 without
//                                              "Referer: .../ccmx_<code>.html"
//   /api/qt/ulist.np/get?...&fields=<list>&...&cb=<cb>&...&secids=<list>&...
//                                              quote JSONP "<cb>({...});" with
//                                              the asked fields; JSON without cb
//   /mm/newCore/FundValuationLast?FCODES=<c1>,<c2>,...&FIELDS=<f1>,...
//                                              batch valuation JSON (see
//                                              valuation_reply.h)
//   /matiaria?fundCode=<code>                  overview page
// Anything else gets 404. Replies are UTF-8 and sent uncompressed unless
// the client asks for gzip or br. Known funds: see sample_data.h;
// the pages: holdings_page.h, stock_quotes.h.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace sample {

struct SampleServerOptions {
  int http_port = 0;                   // plain listener's port; 0 picks a free one
  int https_port = 0;                  // TLS listener's port; 0 picks a free one
  std::chrono::milliseconds delay{0};  // added before every reply
};

// One request as received, recorded before its reply is delayed or held.
struct RequestRecord {
  std::string scheme;  // "http" or "https"
  std::string method;  // "GET", ...
  std::string target;  // path with query, exactly as in the request line
  std::vector<std::pair<std::string, std::string>> headers;  // name order, case-insensitive
};

enum class FailureMode {
  kNone,
  kStatus500,     // 500 with a small HTML error page as body
  kCutShort,      // 200 whose headers promise the whole reply; half of it is sent, then the
                  // connection is closed
  kNotUtf8,       // 200 with the normal reply, every byte from 0x80 up replaced by 0xFF
  kNotJson,       // 200 with a small HTML page in place of the reply
  kUnsuccessful,  // 200 with a JSON error reply: "success":false and "data":null
};

struct Failure {
  FailureMode mode = FailureMode::kNone;
  std::string target_prefix{};  // only requests whose target starts with this; "" = all
};

class SampleServer {
 public:
  explicit SampleServer(SampleServerOptions options = {});
  ~SampleServer();  // stops, releasing held replies first
  SampleServer(const SampleServer&) = delete;
  SampleServer& operator=(const SampleServer&) = delete;

  // Binds both listeners and starts serving. After a stop() it binds the
  // same ports again (the ones chosen at the first start when they were
  // ephemeral). False when a port cannot be bound or TLS cannot be set up;
  // nothing is left listening then.
  bool start();
  // Closes both listeners: new connections are refused until start().
  // Held and delayed replies are let go first. Safe to call twice.
  void stop();
  bool running() const;

  int http_port() const;
  int https_port() const;
  std::string http_base() const;   // "http://127.0.0.1:<port>"
  std::string https_base() const;  // "https://127.0.0.1:<port>"

  // Time added before every reply from now on.
  void set_delay(std::chrono::milliseconds delay);
  // How replies fail from now on, decided when the reply is written (so a
  // held request fails when released after this is set). {} = no failure.
  void set_failure(Failure failure);

  // Requests whose target starts with `target_prefix` ("" = all) arriving
  // from now on wait before their reply until release().
  void hold(std::string target_prefix = "");
  // Ends holding and lets every waiting reply go.
  void release();
  // How many replies are waiting now, and a bounded wait for at least
  // `count` of them (true when reached).
  std::size_t held_count() const;
  bool wait_until_held(std::size_t count, std::chrono::milliseconds timeout) const;

  // Runs on the listener's thread for every request, after it is logged and
  // before its delay, hold and reply: lets a test react to a request while
  // its client waits. Must not call stop(). {} removes the hook.
  void set_request_hook(std::function<void(const RequestRecord&)> hook);

  // The requests received since construction or the last clear, oldest first.
  std::vector<RequestRecord> requests() const;
  void clear_requests();
  // Bounded wait for at least `count` logged requests (true when reached).
  bool wait_for_requests(std::size_t count, std::chrono::milliseconds timeout) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace sample
