#include "platform/curl_transport.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "platform/ascii_case.h"
#include "platform/code_page.h"

namespace platform {
namespace {

// The largest piece query_data_available reports at once, so the reader's
// copy of the body grows in bounded steps.
constexpr std::size_t kMaxReadPiece = 64 * 1024;
constexpr long kMaxRedirects = 10;

std::string to_utf8(std::u16string_view units) { return wide_to_multibyte(units, kCodePageUtf8); }

using internal::equals_ignoring_ascii_case;

// A URL may not carry a control character or a space; none of them may
// reach the wire.
bool has_unsafe_characters(std::u16string_view url) {
  return std::any_of(url.begin(), url.end(), [](char16_t c) { return c <= 0x20 || c == 0x7F; });
}

// Characters beyond ASCII travel percent-encoded as UTF-8, the way the
// system HTTP service escapes an object path; ASCII is left exactly as it
// is, so a URL the caller escaped (or did not) keeps its form.
std::string percent_encode_non_ascii(std::u16string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : to_utf8(text)) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else {
      out += {'%', kHex[c >> 4], kHex[c & 0xF]};
    }
  }
  return out;
}

struct Object {
  virtual ~Object() = default;
};

struct Session : Object {
  bool named_proxy = false;
  std::string proxy_list;
  long resolve_ms = 0, connect_ms = 0, send_ms = 0, receive_ms = 0;
};

struct Connection : Object {
  Session session;  // a copy, so closing the session first leaves no dangling link
  std::string host;
  int port = 0;
};

struct Request : Object {
  Connection connection;
  std::string verb;
  std::string object_path;
  bool secure = false;
  std::string user, password, proxy_user, proxy_password;
  std::uint32_t security_flags = 0;
  bool follow_redirects = true;
  std::vector<std::string> header_lines;

  // Filled by the exchange.
  long idle_limit_ms = 0;  // 0: no limit
  std::chrono::steady_clock::time_point last_activity;
  curl_off_t uploaded = 0;
  bool performed = false;
  TransferStep failed = TransferStep::kNone;
  TransferProgress progress;
  int status = 0;
  std::string header_block;
  std::u16string header_units;  // header_block as UTF-16, made at the first query
  bool header_units_made = false;
  std::string body;
  std::size_t read_position = 0;
  bool read_failure_reported = false;
};

// Picks the proxy for one scheme from a list like "http=a:1;https=b:2" or
// "a:1" (every scheme). Empty when no entry applies.
std::string proxy_for_scheme(std::string_view list, std::string_view scheme) {
  std::size_t i = 0;
  while (i < list.size()) {
    std::size_t end = list.find_first_of("; ", i);
    if (end == std::string_view::npos) end = list.size();
    std::string_view entry = list.substr(i, end - i);
    i = end + 1;
    if (entry.empty()) continue;
    std::size_t equals = entry.find('=');
    if (equals == std::string_view::npos) return std::string(entry);
    if (equals_ignoring_ascii_case(entry.substr(0, equals), scheme)) {
      return std::string(entry.substr(equals + 1));
    }
  }
  return {};
}

bool is_token_char(unsigned char c) {
  if (c <= 0x20 || c >= 0x7F) return false;
  switch (c) {
    case '(':
    case ')':
    case '<':
    case '>':
    case '@':
    case ',':
    case ';':
    case ':':
    case '\\':
    case '"':
    case '/':
    case '[':
    case ']':
    case '?':
    case '=':
    case '{':
    case '}':
      return false;
  }
  return true;
}

// Turns one caller header line into the form curl sends as given. Returns
// false for a line that is no header (no name, a bare CR or LF, a control
// character), which must not reach the wire.
bool curl_header_line(std::string_view line, std::string* out) {
  std::size_t colon = line.find(':');
  if (colon == std::string_view::npos || colon == 0) return false;
  for (std::size_t i = 0; i < colon; ++i) {
    if (!is_token_char(static_cast<unsigned char>(line[i]))) return false;
  }
  for (unsigned char c : line) {
    if ((c < 0x20 && c != '\t') || c == 0x7F) return false;
  }
  std::string_view value = line.substr(colon + 1);
  bool blank = value.find_first_not_of(" \t") == std::string_view::npos;
  // curl reads "Name:" as "remove Name"; "Name;" sends it with an empty value.
  *out = blank ? std::string(line.substr(0, colon)) + ";" : std::string(line);
  return true;
}

std::string_view header_name(std::string_view line) {
  std::size_t end = 0;
  while (end < line.size() && line[end] != ':' && line[end] != ';') ++end;
  return line.substr(0, end);
}

void note_activity(Request* request) { request->last_activity = std::chrono::steady_clock::now(); }

size_t on_body(char* data, size_t size, size_t count, void* user) {
  auto* request = static_cast<Request*>(user);
  note_activity(request);
  request->body.append(data, size * count);
  return size * count;
}

// Keeps the header block of the final response only: collection restarts at
// each status line and interim 1xx responses are dropped. Every line is
// stored with a CR LF end.
size_t on_header(char* data, size_t size, size_t count, void* user) {
  auto* request = static_cast<Request*>(user);
  note_activity(request);
  std::string_view line(data, size * count);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  if (line.substr(0, 5) == "HTTP/") {
    request->header_block.clear();
    request->body.clear();
    request->progress.reply_headers = false;
    request->status = 0;
    std::size_t space = line.find(' ');
    if (space != std::string_view::npos) {
      for (std::size_t i = space + 1; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
        request->status = request->status * 10 + (line[i] - '0');
      }
    }
  } else if (request->progress.reply_headers) {
    return size * count;  // trailers after the body belong to no header block
  }
  request->header_block.append(line);
  request->header_block.append("\r\n");
  if (line.empty()) {
    if (request->status >= 100 && request->status < 200) {
      request->header_block.clear();
    } else {
      request->progress.reply_headers = true;
    }
  }
  return size * count;
}

int on_connected(void* user, char*, char*, int, int) {
  auto* request = static_cast<Request*>(user);
  request->progress.connected = true;
  note_activity(request);
  return CURL_PREREQFUNC_OK;
}

// The idle limit on sending and receiving: once connected, the transfer is
// stopped when no byte moved either way for longer than the limit. (curl's
// own low-speed check averages over several seconds, too coarse for it.)
int on_progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t uploaded) {
  auto* request = static_cast<Request*>(user);
  if (uploaded != request->uploaded) {
    request->uploaded = uploaded;
    note_activity(request);
  }
  if (!request->progress.connected || request->idle_limit_ms <= 0) return 0;
  auto idle = std::chrono::steady_clock::now() - request->last_activity;
  return idle > std::chrono::milliseconds(request->idle_limit_ms) ? 1 : 0;
}

class CurlTransport : public Transport {
 public:
  CurlTransport() : global_ok_(curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK) {}
  ~CurlTransport() override {
    objects_.clear();
    if (global_ok_) curl_global_cleanup();
  }

  bool check_platform() override { return global_ok_; }

  bool crack_url(std::u16string_view url, CrackedUrl* parts) override {
    if (url.empty() || has_unsafe_characters(url)) return false;
    CURLU* handle = curl_url();
    if (handle == nullptr) return false;
    bool ok =
        curl_url_set(handle, CURLUPART_URL, percent_encode_non_ascii(url).c_str(), 0) == CURLUE_OK;
    std::string scheme, host, port, path, query;
    bool has_query = false;
    auto get = [&](CURLUPart part, std::string* out, unsigned flags) {
      char* value = nullptr;
      CURLUcode code = curl_url_get(handle, part, &value, flags);
      if (code == CURLUE_OK) *out = value;
      curl_free(value);
      return code;
    };
    ok = ok && get(CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK;
    ok = ok && (scheme == "http" || scheme == "https");
    // A host beyond ASCII (percent-encoded above) is not looked up.
    ok = ok && get(CURLUPART_HOST, &host, 0) == CURLUE_OK && !host.empty() &&
         std::none_of(host.begin(), host.end(),
                      [](char c) { return c == '%' || static_cast<unsigned char>(c) >= 0x80; });
    ok = ok && get(CURLUPART_PORT, &port, CURLU_DEFAULT_PORT) == CURLUE_OK;
    ok = ok && get(CURLUPART_PATH, &path, 0) == CURLUE_OK;
    if (ok) {
      CURLUcode code = get(CURLUPART_QUERY, &query, 0);
      has_query = code == CURLUE_OK;
      ok = has_query || code == CURLUE_NO_QUERY;
    }
    curl_url_cleanup(handle);
    if (!ok) return false;
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
      host = host.substr(1, host.size() - 2);
    }
    parts->scheme = scheme == "https" ? kSchemeHttps : kSchemeHttp;
    parts->host = multibyte_to_wide(host, kCodePageUtf8);
    parts->port = std::stoi(port);
    parts->path = multibyte_to_wide(path, kCodePageUtf8);
    parts->extra = has_query ? u"?" + multibyte_to_wide(query, kCodePageUtf8) : std::u16string();
    return true;
  }

  TransportHandle open_session(int access_type, std::u16string_view proxy) override {
    if (!global_ok_) return 0;
    if (access_type != kAccessNoProxy && access_type != kAccessNamedProxy) return 0;
    auto session = std::make_unique<Session>();
    session->named_proxy = access_type == kAccessNamedProxy;
    session->proxy_list = session->named_proxy ? to_utf8(proxy) : std::string();
    return add(std::move(session));
  }

  bool set_timeouts(TransportHandle handle, int resolve_ms, int connect_ms, int send_ms,
                    int receive_ms) override {
    auto* session = find<Session>(handle);
    if (session == nullptr) return false;
    session->resolve_ms = resolve_ms;
    session->connect_ms = connect_ms;
    session->send_ms = send_ms;
    session->receive_ms = receive_ms;
    return true;
  }

  TransportHandle connect(TransportHandle handle, std::u16string_view host, int port) override {
    auto* session = find<Session>(handle);
    if (session == nullptr || host.empty() || port < 1 || port > 65535) return 0;
    auto connection = std::make_unique<Connection>();
    connection->session = *session;
    connection->host = to_utf8(host);
    connection->port = port;
    return add(std::move(connection));
  }

  TransportHandle open_request(TransportHandle handle, std::u16string_view verb,
                               std::u16string_view object_path, std::uint32_t flags) override {
    auto* connection = find<Connection>(handle);
    if (connection == nullptr || verb.empty() || has_unsafe_characters(verb) ||
        has_unsafe_characters(object_path)) {
      return 0;
    }
    auto request = std::make_unique<Request>();
    request->connection = *connection;
    request->verb = to_utf8(verb);
    request->object_path = object_path.empty() ? "/" : to_utf8(object_path);
    request->secure = (flags & kRequestSecure) != 0;
    return add(std::move(request));
  }

  bool set_credentials(TransportHandle handle, int target, std::u16string_view user,
                       std::u16string_view password) override {
    auto* request = find<Request>(handle);
    if (request == nullptr || request->performed) return false;
    if (target == kCredentialsServer) {
      request->user = to_utf8(user);
      request->password = to_utf8(password);
    } else if (target == kCredentialsProxy) {
      request->proxy_user = to_utf8(user);
      request->proxy_password = to_utf8(password);
    } else {
      return false;
    }
    return true;
  }

  bool set_option(TransportHandle handle, int option, std::uint32_t value) override {
    auto* request = find<Request>(handle);
    if (request == nullptr || request->performed) return false;
    switch (option) {
      case kOptionSecurityFlags:
        request->security_flags = value;
        return true;
      case kOptionDisableFeature:
        // This transport has no cookie store, so switching it off is a no-op.
        if (value & kFeatureRedirects) request->follow_redirects = false;
        return (value & ~(kFeatureCookies | kFeatureRedirects)) == 0;
      case kOptionEnableFeature:
        // Cookies are the only feature; with no store there is nothing to turn on.
        return value == kFeatureCookies;
    }
    return false;
  }

  bool add_headers(TransportHandle handle, std::u16string_view block) override {
    auto* request = find<Request>(handle);
    if (request == nullptr || request->performed) return false;
    std::string bytes = wide_to_multibyte(block, kCodePageGbk);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= bytes.size()) {
      std::size_t end = bytes.find("\r\n", start);
      if (end == std::string::npos) end = bytes.size();
      std::string_view line(bytes.data() + start, end - start);
      start = end + 2;
      if (line.empty()) continue;
      std::string converted;
      if (!curl_header_line(line, &converted)) return false;
      lines.push_back(std::move(converted));
    }
    request->header_lines.insert(request->header_lines.end(),
                                 std::make_move_iterator(lines.begin()),
                                 std::make_move_iterator(lines.end()));
    return true;
  }

  bool send(TransportHandle handle, std::string_view body) override {
    auto* request = find<Request>(handle);
    if (request == nullptr || request->performed) return false;
    request->performed = true;
    perform(*request, body);
    return request->failed != TransferStep::kSend;
  }

  bool receive(TransportHandle handle) override {
    auto* request = find<Request>(handle);
    return request != nullptr && request->performed && request->failed != TransferStep::kSend &&
           request->failed != TransferStep::kReceive && request->progress.reply_headers;
  }

  bool query_data_available(TransportHandle handle, std::size_t* count) override {
    auto* request = find<Request>(handle);
    if (request == nullptr || !receive(handle)) return false;
    std::size_t left = request->body.size() - request->read_position;
    if (left == 0 && request->failed == TransferStep::kRead && !request->read_failure_reported) {
      // The body broke off here: the next read is the one that fails.
      *count = 1;
      return true;
    }
    *count = std::min(left, kMaxReadPiece);
    return true;
  }

  bool read_data(TransportHandle handle, char* buffer, std::size_t count,
                 std::size_t* read) override {
    auto* request = find<Request>(handle);
    *read = 0;
    if (request == nullptr || !receive(handle)) return false;
    std::size_t left = request->body.size() - request->read_position;
    if (left == 0 && count > 0 && request->failed == TransferStep::kRead) {
      request->read_failure_reported = true;
      return false;
    }
    std::size_t n = std::min(left, count);
    std::memcpy(buffer, request->body.data() + request->read_position, n);
    request->read_position += n;
    *read = n;
    return true;
  }

  bool query_raw_headers(TransportHandle handle, char16_t* buffer,
                         std::size_t* length_bytes) override {
    auto* request = find<Request>(handle);
    if (request == nullptr || !receive(handle)) {
      *length_bytes = 0;
      return false;
    }
    // Header bytes are read in the system code page, so GBK bytes a server
    // sends come back unchanged when the block is converted back.
    if (!request->header_units_made) {
      request->header_units = multibyte_to_wide(request->header_block, kCodePageGbk);
      request->header_units_made = true;
    }
    const std::u16string& units = request->header_units;
    std::size_t needed = (units.size() + 1) * 2;
    if (buffer == nullptr || *length_bytes < needed) {
      *length_bytes = needed;
      return false;
    }
    std::copy(units.begin(), units.end(), buffer);
    buffer[units.size()] = u'\0';
    *length_bytes = needed - 2;
    return true;
  }

  void close(TransportHandle handle) override { objects_.erase(handle); }

 private:
  TransportHandle add(std::unique_ptr<Object> object) {
    TransportHandle handle = ++last_handle_;
    objects_[handle] = std::move(object);
    return handle;
  }

  template <typename T>
  T* find(TransportHandle handle) {
    auto it = objects_.find(handle);
    return it == objects_.end() ? nullptr : dynamic_cast<T*>(it->second.get());
  }

  void perform(Request& request, std::string_view body);

  bool global_ok_;
  TransportHandle last_handle_ = 0;
  std::unordered_map<TransportHandle, std::unique_ptr<Object>> objects_;
};

void CurlTransport::perform(Request& request, std::string_view body) {
  CURL* curl = curl_easy_init();
  if (curl == nullptr) {
    request.failed = TransferStep::kSend;
    return;
  }
  const Connection& connection = request.connection;
  const Session& session = connection.session;
  std::string host = connection.host.find(':') != std::string::npos ? "[" + connection.host + "]"
                                                                    : connection.host;
  std::string path =
      request.object_path.front() == '/' ? request.object_path : "/" + request.object_path;
  std::string url = std::string(request.secure ? "https://" : "http://") + host + ":" +
                    std::to_string(connection.port) + path;

  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_PATH_AS_IS, 1L);
  curl_easy_setopt(curl, CURLOPT_HTTP_CONTENT_DECODING, 0L);
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, request.follow_redirects ? 1L : 0L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, kMaxRedirects);

  // No proxy from the environment: an empty proxy means a direct connection,
  // and the no-proxy list is ours (empty) too.
  std::string proxy = session.named_proxy
                          ? proxy_for_scheme(session.proxy_list, request.secure ? "https" : "http")
                          : std::string();
  if (!proxy.empty() && proxy.find("://") == std::string::npos) proxy = "http://" + proxy;
  curl_easy_setopt(curl, CURLOPT_PROXY, proxy.c_str());
  curl_easy_setopt(curl, CURLOPT_NOPROXY, "");
  curl_easy_setopt(curl, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);

  // Resolving and connecting (TLS included) share one limit; sending and
  // receiving are bounded by an idle limit: the transfer stops once nothing
  // moved for that long. There is no limit on the whole exchange.
  long connect_ms = (session.resolve_ms > 0 ? session.resolve_ms : 0) +
                    (session.connect_ms > 0 ? session.connect_ms : 0);
  if (connect_ms > 0) curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, connect_ms);
  request.idle_limit_ms = std::max(session.send_ms, session.receive_ms);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, on_progress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &request);

  std::uint32_t flags = request.security_flags;
  bool trust_any_issuer =
      (flags & (kSecurityIgnoreUnknownCa | kSecurityIgnoreWrongUsage | kSecurityIgnoreCertDate)) ==
      (kSecurityIgnoreUnknownCa | kSecurityIgnoreWrongUsage | kSecurityIgnoreCertDate);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, trust_any_issuer ? 0L : 1L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, (flags & kSecurityIgnoreCertName) ? 0L : 2L);

  if (!request.user.empty() || !request.password.empty()) {
    curl_easy_setopt(curl, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
    curl_easy_setopt(curl, CURLOPT_USERNAME, request.user.c_str());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, request.password.c_str());
  }
  if (!request.proxy_user.empty() || !request.proxy_password.empty()) {
    curl_easy_setopt(curl, CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_BASIC));
    curl_easy_setopt(curl, CURLOPT_PROXYUSERNAME, request.proxy_user.c_str());
    curl_easy_setopt(curl, CURLOPT_PROXYPASSWORD, request.proxy_password.c_str());
  }

  // The verb and body, as given: curl adds only Host and Content-Length.
  bool head = request.verb == "HEAD";
  bool has_body = !body.empty() || request.verb == "POST" || request.verb == "PUT";
  if (head) {
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
  } else if (has_body) {
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
  }
  // POST is left to curl's own POST, so that a 301, 302 or 303 after it is
  // followed with a GET, as the system HTTP service does; a custom verb
  // would be sent again, without its body, to the new address.
  if (!head && request.verb != "GET" && request.verb != "POST") {
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, request.verb.c_str());
  } else if (request.verb == "GET" && has_body) {
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, "GET");
  }

  // The caller's lines, then removals of the lines curl would add itself.
  curl_slist* headers = nullptr;
  auto given = [&](std::string_view name) {
    return std::any_of(request.header_lines.begin(), request.header_lines.end(),
                       [&](const std::string& line) {
                         return equals_ignoring_ascii_case(header_name(line), name);
                       });
  };
  for (const std::string& line : request.header_lines)
    headers = curl_slist_append(headers, line.c_str());
  for (const char* name : {"Accept", "Expect", "Content-Type", "Proxy-Connection"}) {
    if (!given(name)) headers = curl_slist_append(headers, (std::string(name) + ":").c_str());
  }
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);

  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, on_body);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &request);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, on_header);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &request);
  curl_easy_setopt(curl, CURLOPT_PREREQFUNCTION, on_connected);
  curl_easy_setopt(curl, CURLOPT_PREREQDATA, &request);

  CURLcode code = curl_easy_perform(curl);
  request.failed = transfer_failure_step(code, request.progress);
  if (request.failed == TransferStep::kNone && !request.progress.reply_headers) {
    request.failed = TransferStep::kReceive;
  }
  curl_easy_cleanup(curl);
  curl_slist_free_all(headers);
}

}  // namespace

TransferStep transfer_failure_step(int curl_code, TransferProgress progress) {
  // Failures after the request went out belong to receiving until the final
  // reply's headers are in, and to reading the body after that.
  TransferStep after_sending =
      progress.reply_headers ? TransferStep::kRead : TransferStep::kReceive;
  switch (static_cast<CURLcode>(curl_code)) {
    case CURLE_OK:
      return TransferStep::kNone;
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ENGINE_NOTFOUND:
    case CURLE_SSL_ENGINE_SETFAILED:
    case CURLE_SSL_ENGINE_INITFAILED:
    case CURLE_SEND_ERROR:
    case CURLE_SEND_FAIL_REWIND:
    case CURLE_READ_ERROR:
    case CURLE_URL_MALFORMAT:
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_OUT_OF_MEMORY:
      // An unsupported protocol after the request went out is a reply that
      // is not HTTP, or a redirect to a scheme that is not fetched.
      return progress.connected ? after_sending : TransferStep::kSend;
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_ABORTED_BY_CALLBACK:
      // A connect time-out comes before the request went out; the idle
      // limit stops a transfer after it.
      return progress.connected ? after_sending : TransferStep::kSend;
    case CURLE_GOT_NOTHING:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_TOO_MANY_REDIRECTS:
    case CURLE_HTTP_RETURNED_ERROR:
      return TransferStep::kReceive;
    case CURLE_RECV_ERROR:
    case CURLE_PARTIAL_FILE:
    case CURLE_WRITE_ERROR:
    case CURLE_BAD_CONTENT_ENCODING:
      return after_sending;
    default:
      return progress.connected ? after_sending : TransferStep::kSend;
  }
}

std::unique_ptr<Transport> make_curl_transport() { return std::make_unique<CurlTransport>(); }

Transport& default_transport() {
  static std::unique_ptr<Transport> transport = make_curl_transport();
  return *transport;
}

}  // namespace platform
