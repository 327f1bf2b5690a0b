#include "sample_server/sample_server.h"

#include <httplib.h>

#include <algorithm>
#include <cctype>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string_view>
#include <thread>

#include "sample_server/chart_png.h"
#include "sample_server/holdings_page.h"
#include "sample_server/sample_data.h"
#include "sample_server/self_signed.h"
#include "sample_server/stock_quotes.h"
#include "sample_server/valuation_reply.h"

namespace sample {
namespace {

constexpr const char* kHost = "127.0.0.1";
constexpr const char* kScript = "application/javascript; charset=utf-8";
constexpr const char* kHtml = "text/html; charset=utf-8";
constexpr const char* kJson = "application/json; charset=utf-8";

struct Reply {
  int status = 200;
  std::string content_type;
  std::string body;
};

Reply not_found() {
  return {404, kHtml,
          "<html><head><title>404 Not Found</title></head><body><h1>404 Not Found</h1>"
          "</body></html>"};
}

// The value of `key` in a raw query ("a=1&b=2"), taken as it stands, or
// nothing when the key is absent.
std::optional<std::string_view> query_value(std::string_view query, std::string_view key) {
  while (!query.empty()) {
    std::size_t amp = query.find('&');
    std::string_view pair = query.substr(0, amp);
    std::size_t eq = pair.find('=');
    if (pair.substr(0, eq) == key) {
      return eq == std::string_view::npos ? std::string_view() : pair.substr(eq + 1);
    }
    query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
  }
  return std::nullopt;
}

// The text between `prefix` and `suffix` when `path` is exactly that.
std::optional<std::string_view> path_middle(std::string_view path, std::string_view prefix,
                                            std::string_view suffix) {
  if (path.size() < prefix.size() + suffix.size() || !path.starts_with(prefix) ||
      !path.ends_with(suffix)) {
    return std::nullopt;
  }
  return path.substr(prefix.size(), path.size() - prefix.size() - suffix.size());
}

unsigned seed_of(std::string_view code) {
  unsigned seed = 0;
  for (char c : code) seed = seed * 31 + static_cast<unsigned char>(c);
  return seed;
}

// The value of the first header `name` (any case) of a request; "" if none.
std::string_view header_value(const RequestRecord& record, std::string_view name) {
  for (const auto& [key, value] : record.headers) {
    if (key.size() == name.size() &&
        std::equal(key.begin(), key.end(), name.begin(),
                   [](char a, char b) { return std::tolower(a) == std::tolower(b); })) {
      return value;
    }
  }
  return {};
}

Reply route(const RequestRecord& record) {
  std::string_view target = record.target;
  std::size_t question = target.find('?');
  std::string_view path = target.substr(0, question);
  std::string_view query =
      question == std::string_view::npos ? std::string_view() : target.substr(question + 1);

  if (auto code = path_middle(path, "/js/", ".js")) {
    return {200, kScript, estimate_reply(*code)};
  }
  if (auto code = path_middle(path, "/charts/pic6/", ".png")) {
    std::optional<SampleFund> fund = find_fund(*code);
    if (!fund) return not_found();
    double growth = fund->gszzl.empty() ? 0.0 : std::stod(fund->gszzl);
    return {200, "image/png", chart_png(growth, seed_of(*code))};
  }
  if (path == "/FundArchivesDatas.aspx") {
    std::string_view code = query_value(query, "code").value_or("");
    if (!holdings_referer_accepted(header_value(record, "Referer"), code)) return not_found();
    return {200, kHtml, holdings_page(code)};
  }
  if (path == "/api/qt/ulist.np/get") {
    return {200, kScript,
            quote_reply(query_value(query, "cb").value_or(""),
                        query_value(query, "secids").value_or(""),
                        query_value(query, "fields").value_or(""))};
  }
  if (path == "/mm/newCore/FundValuationLast") {
    return {200, kJson,
            valuation_reply(query_value(query, "FCODES").value_or(""),
                            query_value(query, "FIELDS").value_or(""))};
  }
  if (path == "/matiaria") {
    return {200, kHtml, overview_page(query_value(query, "fundCode").value_or(""))};
  }
  return not_found();
}

// Header entries httplib adds to a request that did not come over the wire.
bool is_pseudo_header(const std::string& name) {
  return name == "REMOTE_ADDR" || name == "REMOTE_PORT" || name == "LOCAL_ADDR" ||
         name == "LOCAL_PORT";
}

// One listener: an httplib server bound to a port and its accepting thread.
struct Listener {
  std::unique_ptr<httplib::Server> server;
  std::thread thread;

  // Starts accepting on an already bound server; false if it did not come up.
  bool run() {
    thread = std::thread([s = server.get()] { s->listen_after_bind(); });
    for (int i = 0; i < 5000 && !server->is_running(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return server->is_running();
  }

  void close() {
    if (!server) return;
    server->stop();
    if (thread.joinable()) thread.join();
    server.reset();
  }
};

}  // namespace

struct SampleServer::Impl {
  explicit Impl(SampleServerOptions o)
      : http_port(o.http_port), https_port(o.https_port), delay(o.delay) {}

  httplib::Server::HandlerResponse handle(const char* scheme, const httplib::Request& req,
                                          httplib::Response& res);
  bool bind(httplib::Server& server, int* port);

  int http_port;
  int https_port;
  Listener http;
  Listener https;

  mutable std::mutex mu;
  mutable std::condition_variable changed;
  std::chrono::milliseconds delay;
  Failure failure;
  bool holding = false;
  std::string hold_prefix;
  uint64_t releases = 0;  // counts release() calls; a held reply waits for the next one
  std::size_t held = 0;
  bool stopping = false;
  std::function<void(const RequestRecord&)> hook;
  std::vector<RequestRecord> log;
};

httplib::Server::HandlerResponse SampleServer::Impl::handle(const char* scheme,
                                                            const httplib::Request& req,
                                                            httplib::Response& res) {
  RequestRecord record{scheme, req.method, req.target, {}};
  for (const auto& [name, value] : req.headers) {
    if (!is_pseudo_header(name)) record.headers.emplace_back(name, value);
  }

  std::function<void(const RequestRecord&)> hook_now;
  bool hold_this = false;
  uint64_t release_seen = 0;
  {
    std::lock_guard<std::mutex> lock(mu);
    log.push_back(record);
    hook_now = hook;
    hold_this = holding && record.target.starts_with(hold_prefix);
    release_seen = releases;
    changed.notify_all();
  }
  if (hook_now) hook_now(record);

  Failure failure_now;
  {
    std::unique_lock<std::mutex> lock(mu);
    changed.wait_for(lock, delay, [&] { return stopping; });
    if (hold_this) {
      ++held;
      changed.notify_all();
      changed.wait(lock, [&] { return stopping || releases != release_seen; });
      --held;
      changed.notify_all();
    }
    failure_now = failure;
  }

  Reply reply = route(record);
  FailureMode mode =
      record.target.starts_with(failure_now.target_prefix) ? failure_now.mode : FailureMode::kNone;
  switch (mode) {
    case FailureMode::kNone:
      break;
    case FailureMode::kStatus500:
      reply = {500, kHtml,
               "<html><head><title>500 Internal Server Error</title></head><body>"
               "<h1>500 Internal Server Error</h1></body></html>"};
      break;
    case FailureMode::kNotJson:
      reply = {200, kHtml, "<html><head><title>Sign in</title></head><body>Sign in</body></html>"};
      break;
    case FailureMode::kUnsuccessful:
      reply = {200, kJson,
               "{\"data\":null,\"errorCode\":61,\"success\":false,"
               "\"errMsg\":\"too many requests\"}"};
      break;
    case FailureMode::kNotUtf8:
      for (char& c : reply.body) {
        if (static_cast<unsigned char>(c) >= 0x80) c = '\xFF';
      }
      break;
    case FailureMode::kCutShort: {
      // The provider writes the first half and then reports failure, which
      // makes httplib close the connection short of the promised length.
      res.status = reply.status;
      auto body = std::make_shared<std::string>(std::move(reply.body));
      res.set_content_provider(body->size(), reply.content_type,
                               [body](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                 if (offset == 0) sink.write(body->data(), body->size() / 2);
                                 return false;
                               });
      return httplib::Server::HandlerResponse::Handled;
    }
  }
  res.status = reply.status;
  res.set_content(reply.body, reply.content_type.c_str());
  return httplib::Server::HandlerResponse::Handled;
}

bool SampleServer::Impl::bind(httplib::Server& server, int* port) {
  if (*port != 0) return server.bind_to_port(kHost, *port);
  int chosen = server.bind_to_any_port(kHost);
  if (chosen <= 0) return false;
  *port = chosen;  // kept, so a restart binds the same port
  return true;
}

SampleServer::SampleServer(SampleServerOptions options) : impl_(std::make_unique<Impl>(options)) {}

SampleServer::~SampleServer() { stop(); }

bool SampleServer::start() {
  if (running()) return true;
  {
    std::lock_guard<std::mutex> lock(impl_->mu);
    impl_->stopping = false;
  }
  Impl* impl = impl_.get();
  impl->http.server = std::make_unique<httplib::Server>();
  impl->https.server = std::make_unique<httplib::SSLServer>(
      [](SSL_CTX& context) { return use_self_signed_certificate(&context); });
  impl->http.server->set_pre_routing_handler(
      [impl](const httplib::Request& req, httplib::Response& res) {
        return impl->handle("http", req, res);
      });
  impl->https.server->set_pre_routing_handler(
      [impl](const httplib::Request& req, httplib::Response& res) {
        return impl->handle("https", req, res);
      });

  // A bound server is always run and then stopped, so its socket is closed
  // on every path.
  bool ok = impl->bind(*impl->http.server, &impl->http_port) && impl->http.run() &&
            impl->https.server->is_valid() && impl->bind(*impl->https.server, &impl->https_port) &&
            impl->https.run();
  if (!ok) {
    impl->https.close();
    impl->http.close();
  }
  return ok;
}

void SampleServer::stop() {
  {
    std::lock_guard<std::mutex> lock(impl_->mu);
    impl_->stopping = true;
    impl_->changed.notify_all();
  }
  impl_->http.close();
  impl_->https.close();
}

bool SampleServer::running() const {
  return impl_->http.server && impl_->http.server->is_running() && impl_->https.server &&
         impl_->https.server->is_running();
}

int SampleServer::http_port() const { return impl_->http_port; }
int SampleServer::https_port() const { return impl_->https_port; }
std::string SampleServer::http_base() const {
  return std::string("http://") + kHost + ":" + std::to_string(impl_->http_port);
}
std::string SampleServer::https_base() const {
  return std::string("https://") + kHost + ":" + std::to_string(impl_->https_port);
}

void SampleServer::set_delay(std::chrono::milliseconds delay) {
  std::lock_guard<std::mutex> lock(impl_->mu);
  impl_->delay = delay;
}

void SampleServer::set_failure(Failure failure) {
  std::lock_guard<std::mutex> lock(impl_->mu);
  impl_->failure = std::move(failure);
}

void SampleServer::hold(std::string target_prefix) {
  std::lock_guard<std::mutex> lock(impl_->mu);
  impl_->holding = true;
  impl_->hold_prefix = std::move(target_prefix);
}

void SampleServer::release() {
  std::lock_guard<std::mutex> lock(impl_->mu);
  impl_->holding = false;
  ++impl_->releases;
  impl_->changed.notify_all();
}

std::size_t SampleServer::held_count() const {
  std::lock_guard<std::mutex> lock(impl_->mu);
  return impl_->held;
}

bool SampleServer::wait_until_held(std::size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock<std::mutex> lock(impl_->mu);
  return impl_->changed.wait_for(lock, timeout, [&] { return impl_->held >= count; });
}

void SampleServer::set_request_hook(std::function<void(const RequestRecord&)> hook) {
  std::lock_guard<std::mutex> lock(impl_->mu);
  impl_->hook = std::move(hook);
}

std::vector<RequestRecord> SampleServer::requests() const {
  std::lock_guard<std::mutex> lock(impl_->mu);
  return impl_->log;
}

void SampleServer::clear_requests() {
  std::lock_guard<std::mutex> lock(impl_->mu);
  impl_->log.clear();
}

bool SampleServer::wait_for_requests(std::size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock<std::mutex> lock(impl_->mu);
  return impl_->changed.wait_for(lock, timeout, [&] { return impl_->log.size() >= count; });
}

}  // namespace sample
