#include "platform/curl_transport.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <new>
#include <unordered_map>
#include <vector>

#include "platform/ascii_case.h"
#include "platform/code_page.h"

namespace platform {
namespace {

// The step at which a finished transfer failed. kAbandoned: the transfer was
// stopped on purpose after the reply began (its body outgrew the limit, the
// whole exchange ran out of time, or memory ran out); nothing of it is kept.
enum class TransferStep { kNone, kSend, kReceive, kRead, kAbandoned };

// How far one hop of a transfer got before it ended.
struct HopProgress {
  bool connected = false;      // the connection (and TLS) stood
  bool reply_headers = false;  // a reply's header block arrived whole
};

// No endpoint sends more than a few hundred kilobytes; a reply beyond these
// limits ends the transfer instead of filling the memory.
constexpr std::size_t kMaxBodyBytes = kMaxReplyBodyBytes;
constexpr std::size_t kMaxHeaderBytes = 1024 * 1024;
constexpr int kMaxRedirects = 10;

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
  HopProgress hop;         // how far the current hop got
  bool abandoned = false;  // the body outgrew its limit, or a callback could not go on
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

// The callbacks below run inside libcurl's C frames: none of them may let an
// exception out. One that cannot go on marks the request abandoned and stops
// the transfer.

size_t on_body(char* data, size_t size, size_t count, void* user) noexcept {
  auto* request = static_cast<Request*>(user);
  std::size_t length = size * count;
  try {
    note_activity(request);
    if (length > kMaxBodyBytes - request->body.size()) {
      request->abandoned = true;
      return 0;
    }
    request->body.append(data, length);
    return length;
  } catch (...) {
    request->abandoned = true;
    return 0;
  }
}

// Keeps the header block of the final response only: collection restarts at
// each status line and interim 1xx responses are dropped. Every line is
// stored with a CR LF end.
size_t on_header(char* data, size_t size, size_t count, void* user) noexcept {
  auto* request = static_cast<Request*>(user);
  std::size_t length = size * count;
  try {
    note_activity(request);
    std::string_view line(data, length);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    if (line.substr(0, 5) == "HTTP/") {
      request->header_block.clear();
      request->body.clear();
      request->hop.reply_headers = false;
      request->status = 0;
      std::size_t space = line.find(' ');
      if (space != std::string_view::npos) {
        for (std::size_t i = space + 1;
             i < line.size() && line[i] >= '0' && line[i] <= '9' && request->status < 1000; ++i) {
          request->status = request->status * 10 + (line[i] - '0');
        }
      }
    } else if (request->hop.reply_headers) {
      return length;  // trailers after the body belong to no header block
    }
    if (request->header_block.size() + line.size() > kMaxHeaderBytes) {
      request->abandoned = true;
      return 0;
    }
    request->header_block.append(line);
    request->header_block.append("\r\n");
    if (line.empty()) {
      if (request->status >= 100 && request->status < 200) {
        request->header_block.clear();
      } else {
        request->hop.reply_headers = true;
      }
    }
    return length;
  } catch (...) {
    request->abandoned = true;
    return 0;
  }
}

int on_connected(void* user, char*, char*, int, int) noexcept {
  auto* request = static_cast<Request*>(user);
  request->hop.connected = true;
  note_activity(request);
  return CURL_PREREQFUNC_OK;
}

// The idle limit on sending and receiving: once connected, the transfer is
// stopped when no byte moved either way for longer than the limit. (curl's
// own low-speed check averages over several seconds, too coarse for it.)
int on_progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t uploaded) noexcept {
  auto* request = static_cast<Request*>(user);
  if (uploaded != request->uploaded) {
    request->uploaded = uploaded;
    note_activity(request);
  }
  if (!request->hop.connected || request->idle_limit_ms <= 0) return 0;
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
    bool ok = curl_url_set(handle, CURLUPART_URL, percent_encode_non_ascii(url).c_str(),
                           CURLU_PATH_AS_IS) == CURLUE_OK;
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
    if (request == nullptr || !request->performed) return false;
    if (request->failed == TransferStep::kAbandoned) return true;  // the read step fails
    return request->failed != TransferStep::kSend && request->failed != TransferStep::kReceive &&
           request->hop.reply_headers;
  }

  // The whole rest of the body is ready at once: the reader copies it in one
  // piece, and this transport lets its own copy go once it is read.
  bool query_data_available(TransportHandle handle, std::size_t* count) override {
    auto* request = find<Request>(handle);
    if (request == nullptr || !receive(handle)) return false;
    std::size_t left = request->body.size() - request->read_position;
    bool broken =
        request->failed == TransferStep::kRead || request->failed == TransferStep::kAbandoned;
    if (left == 0 && broken && !request->read_failure_reported) {
      // The body broke off here: the next read is the one that fails.
      *count = 1;
      return true;
    }
    *count = left;
    return true;
  }

  bool read_data(TransportHandle handle, char* buffer, std::size_t count,
                 std::size_t* read) override {
    auto* request = find<Request>(handle);
    *read = 0;
    if (request == nullptr || !receive(handle)) return false;
    std::size_t left = request->body.size() - request->read_position;
    bool broken =
        request->failed == TransferStep::kRead || request->failed == TransferStep::kAbandoned;
    if (left == 0 && count > 0 && broken) {
      request->read_failure_reported = true;
      return false;
    }
    std::size_t n = std::min(left, count);
    std::memcpy(buffer, request->body.data() + request->read_position, n);
    request->read_position += n;
    *read = n;
    if (request->read_position == request->body.size() && !broken) {
      std::string().swap(request->body);
      request->read_position = 0;
    }
    return true;
  }

  bool query_raw_headers(TransportHandle handle, char16_t* buffer,
                         std::size_t* length_bytes) override {
    auto* request = find<Request>(handle);
    if (request == nullptr || !receive(handle) || request->failed == TransferStep::kAbandoned) {
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
  void perform_hops(Request& request, std::string_view body);

  bool global_ok_;
  TransportHandle last_handle_ = 0;
  std::unordered_map<TransportHandle, std::unique_ptr<Object>> objects_;
};

// The parts of one hop's URL that decide where it goes.
struct Origin {
  std::string scheme, host, port;
  bool operator==(const Origin&) const = default;
};

// Splits an absolute http or https URL; false for anything else.
bool origin_of(const std::string& url, Origin* origin) {
  std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> handle(curl_url(), curl_url_cleanup);
  if (!handle || curl_url_set(handle.get(), CURLUPART_URL, url.c_str(),
                              CURLU_NON_SUPPORT_SCHEME | CURLU_PATH_AS_IS) != CURLUE_OK) {
    return false;
  }
  auto get = [&](CURLUPart part, std::string* out, unsigned flags) {
    char* value = nullptr;
    bool ok = curl_url_get(handle.get(), part, &value, flags) == CURLUE_OK;
    if (ok) *out = value;
    curl_free(value);
    return ok;
  };
  if (!get(CURLUPART_SCHEME, &origin->scheme, 0) || !get(CURLUPART_HOST, &origin->host, 0) ||
      !get(CURLUPART_PORT, &origin->port, CURLU_DEFAULT_PORT)) {
    return false;
  }
  for (char& c : origin->scheme) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (char& c : origin->host) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return origin->scheme == "http" || origin->scheme == "https";
}

// The verb and body of one hop, as given: curl adds only Host and
// Content-Length. Options left by an earlier hop are reset first.
void set_verb(CURL* curl, const std::string& verb, std::string_view body) {
  curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, static_cast<char*>(nullptr));
  bool head = verb == "HEAD";
  bool has_body = !body.empty() || verb == "POST" || verb == "PUT";
  if (head) {
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
  } else if (has_body) {
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.empty() ? "" : body.data());
  }
  if (!head && verb != "GET" && verb != "POST") {
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, verb.c_str());
  } else if (verb == "GET" && has_body) {
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, "GET");
  }
}

// Where one hop's transfer failed. A hop that got its reply headers failed
// reading: a body cut short keeps what came, a body stopped on purpose
// (too long, out of time) keeps nothing. Before that, the request failed
// sending until it was out whole, then receiving.
TransferStep hop_failure_step(CURLcode code, const Request& request, curl_off_t uploaded,
                              std::size_t body_size) {
  const HopProgress& hop = request.hop;
  // A declared length beyond the limit is refused as soon as it is read.
  if (request.abandoned || code == CURLE_FILESIZE_EXCEEDED) return TransferStep::kAbandoned;
  if (code == CURLE_OK) return hop.reply_headers ? TransferStep::kNone : TransferStep::kReceive;
  if (hop.reply_headers) {
    bool stopped = code == CURLE_OPERATION_TIMEDOUT || code == CURLE_OUT_OF_MEMORY;
    return stopped ? TransferStep::kAbandoned : TransferStep::kRead;
  }
  bool sent = hop.connected && uploaded >= static_cast<curl_off_t>(body_size);
  return sent ? TransferStep::kReceive : TransferStep::kSend;
}

bool is_followed_redirect(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

struct SlistFree {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, SlistFree>;

// The caller's lines, then removals of the lines curl would add itself.
// Lines that carry credentials stay with the first origin.
HeaderList curl_header_list(const std::vector<std::string>& lines, bool other_origin) {
  HeaderList list;
  auto append = [&](const std::string& line) {
    curl_slist* grown = curl_slist_append(list.get(), line.c_str());
    if (grown == nullptr) throw std::bad_alloc();
    (void)list.release();
    list.reset(grown);
  };
  auto given = [&](std::string_view name) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
      return equals_ignoring_ascii_case(header_name(line), name);
    });
  };
  for (const std::string& line : lines) {
    std::string_view name = header_name(line);
    if (other_origin && (equals_ignoring_ascii_case(name, "Authorization") ||
                         equals_ignoring_ascii_case(name, "Cookie"))) {
      continue;
    }
    append(line);
  }
  for (const char* name : {"Accept", "Expect", "Content-Type", "Proxy-Connection"}) {
    if (!given(name)) append(std::string(name) + ":");
  }
  return list;
}

void CurlTransport::perform(Request& request, std::string_view body) {
  try {
    perform_hops(request, body);
  } catch (...) {
    // Out of memory while setting up a hop: nothing of the reply is kept.
    request.failed = request.hop.connected ? TransferStep::kAbandoned : TransferStep::kSend;
    request.body.clear();
  }
  if (request.failed == TransferStep::kAbandoned) {
    std::string().swap(request.body);
    request.header_block.clear();
  }
}

void CurlTransport::perform_hops(Request& request, std::string_view body) {
  std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> handle(curl_easy_init(), curl_easy_cleanup);
  if (!handle) {
    request.failed = TransferStep::kSend;
    return;
  }
  CURL* curl = handle.get();
  const Connection& connection = request.connection;
  const Session& session = connection.session;
  std::string host = connection.host.find(':') != std::string::npos ? "[" + connection.host + "]"
                                                                    : connection.host;
  std::string path =
      request.object_path.front() == '/' ? request.object_path : "/" + request.object_path;
  std::string url = std::string(request.secure ? "https://" : "http://") + host + ":" +
                    std::to_string(connection.port) + path;
  Origin first_origin;
  if (!origin_of(url, &first_origin)) {
    request.failed = TransferStep::kSend;
    return;
  }

  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  // The object path goes out exactly as given, dot segments included.
  curl_easy_setopt(curl, CURLOPT_PATH_AS_IS, 1L);
  curl_easy_setopt(curl, CURLOPT_HTTP_CONTENT_DECODING, 0L);
  // Redirects are followed here, hop by hop, so that each hop picks its own
  // proxy and the exchange knows which hop failed.
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(curl, CURLOPT_NOPROXY, "");
  curl_easy_setopt(curl, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
  // A resolver that has not answered by its limit is left behind instead of
  // being waited for.
  curl_easy_setopt(curl, CURLOPT_QUICK_EXIT, 1L);

  // Resolving and connecting (TLS included) each end within their limit, so
  // together within the larger of the two. Sending and receiving are bounded
  // by an idle limit: the transfer stops once nothing moved for that long.
  // The whole exchange, redirects included, ends within the sum of the four.
  auto positive = [](long ms) { return ms > 0 ? static_cast<long long>(ms) : 0LL; };
  long long connect_ms = std::max(positive(session.resolve_ms), positive(session.connect_ms));
  if (connect_ms > 0) {
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(connect_ms));
  }
  long long total_ms = positive(session.resolve_ms) + positive(session.connect_ms) +
                       positive(session.send_ms) + positive(session.receive_ms);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(total_ms);
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

  if (!request.proxy_user.empty() || !request.proxy_password.empty()) {
    curl_easy_setopt(curl, CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_BASIC));
    curl_easy_setopt(curl, CURLOPT_PROXYUSERNAME, request.proxy_user.c_str());
    curl_easy_setopt(curl, CURLOPT_PROXYPASSWORD, request.proxy_password.c_str());
  }
  curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(kMaxBodyBytes));
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, on_body);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &request);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, on_header);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &request);
  curl_easy_setopt(curl, CURLOPT_PREREQFUNCTION, on_connected);
  curl_easy_setopt(curl, CURLOPT_PREREQDATA, &request);

  std::string verb = request.verb;
  std::string_view hop_body = body;
  Origin origin = first_origin;
  for (int hop = 0;; ++hop) {
    // Credentials, and the caller's lines that carry them, go to the first
    // origin only, never to another host a redirect names.
    bool other_origin = !(origin == first_origin);
    HeaderList headers = curl_header_list(request.header_lines, other_origin);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.get());
    bool credentials = !other_origin && (!request.user.empty() || !request.password.empty());
    curl_easy_setopt(curl, CURLOPT_HTTPAUTH,
                     static_cast<long>(credentials ? CURLAUTH_BASIC : CURLAUTH_NONE));
    curl_easy_setopt(curl, CURLOPT_USERNAME,
                     credentials ? request.user.c_str() : static_cast<const char*>(nullptr));
    curl_easy_setopt(curl, CURLOPT_PASSWORD,
                     credentials ? request.password.c_str() : static_cast<const char*>(nullptr));

    // No proxy from the environment: an empty proxy means a direct
    // connection. An entry for one scheme serves the hops of that scheme.
    std::string proxy =
        session.named_proxy ? proxy_for_scheme(session.proxy_list, origin.scheme) : std::string();
    if (!proxy.empty() && proxy.find("://") == std::string::npos) proxy = "http://" + proxy;
    curl_easy_setopt(curl, CURLOPT_PROXY, proxy.c_str());
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    set_verb(curl, verb, hop_body);

    if (total_ms > 0) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                      deadline - std::chrono::steady_clock::now())
                      .count();
      if (left < 1) {
        request.failed = TransferStep::kReceive;  // only a redirect hop can start this late
        return;
      }
      curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(left));
    }

    request.hop = {};
    request.uploaded = 0;
    request.status = 0;
    request.header_block.clear();
    request.body.clear();
    CURLcode code = curl_easy_perform(curl);
    curl_off_t uploaded = 0;
    curl_easy_getinfo(curl, CURLINFO_SIZE_UPLOAD_T, &uploaded);
    request.failed = hop_failure_step(code, request, uploaded, hop_body.size());
    // A redirect whose next hop fails is a reply that never came.
    if (hop > 0 && request.failed == TransferStep::kSend) request.failed = TransferStep::kReceive;
    if (request.failed != TransferStep::kNone) return;

    if (!request.follow_redirects || !is_followed_redirect(request.status)) return;
    char* location = nullptr;
    if (curl_easy_getinfo(curl, CURLINFO_REDIRECT_URL, &location) != CURLE_OK ||
        location == nullptr) {
      return;  // a redirect status without a target is the final reply
    }
    if (hop == kMaxRedirects || !origin_of(location, &origin)) {
      request.failed = TransferStep::kReceive;
      return;
    }
    url = location;
    // A 303 asks for the new address with a GET; so does a 301 or 302 after
    // a POST, as browsers and the system HTTP service do. 307 and 308 repeat
    // the request as it was.
    if ((request.status == 303 && verb != "HEAD") ||
        ((request.status == 301 || request.status == 302) && verb == "POST")) {
      verb = "GET";
      hop_body = {};
    }
  }
}

}  // namespace

std::unique_ptr<Transport> make_curl_transport() { return std::make_unique<CurlTransport>(); }

Transport& default_transport() {
  static std::unique_ptr<Transport> transport = make_curl_transport();
  return *transport;
}

}  // namespace platform
