#include "http/web_request.h"

#include <algorithm>
#include <climits>

#include "http/cookies.h"
#include "http/gbk_utf16.h"
#include "http/header_block.h"
#include "http/meta_charset.h"
#include "http/regex_object.h"
#include "platform/component_library.h"
#include "platform/events.h"
#include "platform/transport.h"
#include "text/gbk_literal.h"
#include "text/text_search.h"

namespace {

constexpr const char* kVerbs[] = {"GET",     "POST",   "HEAD",  "PUT",
                                  "OPTIONS", "DELETE", "TRACE", "CONNECT"};
constexpr int kDefaultTimeoutMs = 30000;
constexpr std::uint32_t kIgnoredCertificateErrors =
    platform::kSecurityIgnoreUnknownCa | platform::kSecurityIgnoreWrongUsage |
    platform::kSecurityIgnoreCertName | platform::kSecurityIgnoreCertDate;

// Texts go to the transport as the units of gbk_to_utf16 and come back
// through utf16_to_gbk, without the detour through byte arrays.
std::u16string wide(const Text& text) { return gbk_to_utf16_units(text); }

Text gbk_of(std::u16string_view units) { return utf16_units_to_gbk(units); }

// One call's state: its handles, closed in reverse order on every exit,
// an exception's included.
class Exchange {
 public:
  Exchange(platform::Transport& transport, std::function<void()> events)
      : transport_(transport), events_(std::move(events)) {}
  ~Exchange() {
    if (!closed_) close_handles();
  }
  Exchange(const Exchange&) = delete;
  Exchange& operator=(const Exchange&) = delete;

  platform::Transport& transport_;
  std::function<void()> events_;
  platform::TransportHandle session = 0, connection = 0, request = 0;

  void close_handles() {
    transport_.close(request);
    transport_.close(connection);
    transport_.close(session);
    request = connection = session = 0;
    closed_ = true;
  }

 private:
  bool closed_ = false;
};

// Initialises the component library and releases it again, also when the
// charset step throws.
struct ComponentLibraryScope {
  ComponentLibraryScope() { platform::initialise_component_library(); }
  ~ComponentLibraryScope() { platform::release_component_library(); }
  ComponentLibraryScope(const ComponentLibraryScope&) = delete;
  ComponentLibraryScope& operator=(const ComponentLibraryScope&) = delete;
};

}  // namespace

Text web_request(const Text& url, const WebRequestOptions& options) {
  return web_request(url, options, WebRequestEnvironment{});
}

Text web_request(const Text& url, const WebRequestOptions& o, const WebRequestEnvironment& env) {
  // Step 1: the regular-expression object lives for the whole call.
  RegexObject regex;
  platform::Transport& t = env.transport ? *env.transport : platform::default_transport();
  Exchange x(t, env.process_pending_events
                    ? env.process_pending_events
                    : std::function<void()>(platform::process_pending_events));
  Text local_status;
  Text& status_text = o.status_text ? *o.status_text : local_status;

  enum class Exit { kCommon, kCommonWithoutEvents, kEarly };
  auto fail = [&](const char* message, Exit exit) {
    status_text = gbk(message);
    if (exit == Exit::kCommon) x.events_();
    x.close_handles();
    return Text();
  };

  if (!t.check_platform())
    return fail("700 当前系统不支持WinHttp服务!", Exit::kCommonWithoutEvents);

  platform::CrackedUrl parts;
  if (!t.crack_url(wide(url), &parts)) return fail("701 解析URL地址失败!", Exit::kCommon);
  Text host = gbk_of(parts.host);
  bool secure = parts.scheme == platform::kSchemeHttps;
  // A URL without a path asks for "/"; its query, if any, still goes along.
  std::u16string object_path = (parts.path.empty() ? u"/" : parts.path) + parts.extra;

  if (o.proxy.empty()) {
    x.session = t.open_session(platform::kAccessNoProxy, u"");
  } else {
    x.session =
        t.open_session(platform::kAccessNamedProxy, wide(secure ? o.proxy : "http=" + o.proxy));
  }
  if (x.session == 0) return fail("702 创建WinHttp会话失败!", Exit::kCommon);

  // Clamped so a huge limit cannot overflow.
  int limit_ms =
      o.timeout_seconds > 0
          ? (o.timeout_seconds > INT_MAX / 1000 ? INT_MAX / 1000 * 1000 : o.timeout_seconds * 1000)
          : kDefaultTimeoutMs;
  if (!t.set_timeouts(x.session, limit_ms, limit_ms, limit_ms, limit_ms)) {
    return fail("705 设置超时时间失败!", Exit::kCommon);
  }

  x.connection = t.connect(x.session, wide(host), parts.port);
  if (x.connection == 0) return fail("703 创建WinHttp连接失败!", Exit::kCommon);

  const char* verb = o.method >= 0 && o.method < 8 ? kVerbs[o.method] : kVerbs[0];
  x.request =
      t.open_request(x.connection, wide(verb), object_path, secure ? platform::kRequestSecure : 0);
  if (x.request == 0) return fail("704 创建WinHttp请求失败!", Exit::kCommon);

  if (!o.auth_user.empty() && !o.auth_password.empty() &&
      !t.set_credentials(x.request, platform::kCredentialsServer, wide(o.auth_user),
                         wide(o.auth_password))) {
    return fail("707 设置代理凭证失败!", Exit::kEarly);
  }
  if (!o.proxy_user.empty() && !o.proxy_password.empty() &&
      !t.set_credentials(x.request, platform::kCredentialsProxy, wide(o.proxy_user),
                         wide(o.proxy_password))) {
    return fail("707 设置代理凭证失败!", Exit::kEarly);
  }
  if (!t.set_option(x.request, platform::kOptionSecurityFlags, kIgnoredCertificateErrors)) {
    return fail("忽略错误/证书错误  失败！", Exit::kEarly);
  }

  Text send_cookies = o.send_cookies ? *o.send_cookies : Text();
  bool cookie_option_set =
      send_cookies.empty()
          ? t.set_option(x.request, platform::kOptionDisableFeature, platform::kFeatureCookies)
          : t.set_option(x.request, platform::kOptionEnableFeature, platform::kFeatureCookies);
  if (!cookie_option_set) return fail("708 禁止自动设置Cookies失败!", Exit::kEarly);
  if (o.no_redirect &&
      !t.set_option(x.request, platform::kOptionDisableFeature, platform::kFeatureRedirects)) {
    return fail("709 重定向设置失败!", Exit::kEarly);
  }

  Text block = build_header_block({.extra_headers = o.extra_headers,
                                   .method = o.method,
                                   .send_cookies = send_cookies,
                                   .add_default_headers = o.add_default_headers,
                                   .normalise_headers = o.normalise_headers});
  if (!t.add_headers(x.request, wide(block))) return fail("710 设置协议头失败!", Exit::kCommon);

  const Bytes& body_out =
      o.post_bytes.empty() ? o.post_text.substr(0, o.post_text.find('\0')) : o.post_bytes;
  if (!t.send(x.request, body_out)) return fail("711 发送请求失败!", Exit::kCommon);
  if (!t.receive(x.request)) return fail("712 服务器未响应!", Exit::kCommon);

  // Step 16: read what is ready until nothing is, straight into the body.
  // A read that fails keeps the bytes so far; one that brings nothing ends
  // the loop too.
  Bytes body;
  while (true) {
    std::size_t ready = 0;
    if (!t.query_data_available(x.request, &ready) || ready < 1) break;
    std::size_t before = body.size();
    body.resize(before + ready);
    std::size_t got = 0;
    bool read = t.read_data(x.request, body.data() + before, ready, &got);
    body.resize(before + (read ? std::min(got, ready) : 0));
    if (!read) {
      status_text = gbk("713 读取数据失败!");
      break;
    }
    if (got == 0) break;
  }

  Text result;
  std::size_t needed = 0;
  t.query_raw_headers(x.request, nullptr, &needed);
  std::u16string raw((needed + 1) / 2, u'\0');
  std::size_t length = needed;
  if (t.query_raw_headers(x.request, raw.data(), &length)) {
    raw.resize(std::min(raw.size(), length / 2));
    Text headers = gbk_of(raw);
    if (o.reply_headers) *o.reply_headers = headers;
    if (headers.size() > 9) {
      std::size_t end = find_text(headers, "\r\n", 9);
      status_text = headers.substr(9, end == kNotFound ? Text::npos : end - 9);
    } else {
      status_text.clear();
    }

    Text reply_cookies = o.reply_cookies ? *o.reply_cookies : Text();
    for (const Text& line : split_text(headers, "\r\n")) {
      collect_set_cookie(line, reply_cookies);
      if (line.size() >= 10 &&
          find_text(line.substr(0, 10), "Location: ", 0, {.ignore_case = true}) == 0) {
        if (o.redirect_location) *o.redirect_location = line.substr(10);
      }
      x.events_();
    }

    if (reply_cookies.size() >= 2 &&
        reply_cookies.compare(reply_cookies.size() - 2, 2, "; ") == 0) {
      reply_cookies.resize(reply_cookies.size() - 2);
    }
    if (o.auto_merge_cookies && !send_cookies.empty()) {
      reply_cookies = merge_cookies(send_cookies, reply_cookies);
      if (o.send_cookies) *o.send_cookies = send_cookies;
    }
    if (o.reply_cookies) *o.reply_cookies = reply_cookies;

    result = body.substr(0, body.find('\0'));
    MetaCharsetOutcome outcome;
    {
      ComponentLibraryScope library;
      outcome = apply_meta_charset(regex, body, result);
    }
    result = std::move(outcome.text);
    if (o.reply_bytes) *o.reply_bytes = std::move(body);
    if (outcome.searched) x.events_();
  }

  x.events_();
  x.close_handles();
  return result;
}
