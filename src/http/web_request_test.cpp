#include "http/web_request.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>

#include "platform/component_library.h"
#include "platform/curl_transport.h"
#include "platform/failing_transport.h"
#include "platform/testing/local_servers.h"
#include "text/gbk_literal.h"

namespace {

using platform::FailingTransport;
using platform::TransportStep;
using testing_servers::CertificateKind;
using testing_servers::LocalServer;
using testing_servers::RawConnection;
using testing_servers::RawServer;
using testing_servers::Reply;
using testing_servers::ServedRequest;

const Text kDefaultLines =
    "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)\r\n"
    "Accept: text/html, application/xhtml+xml, */*\r\n"
    "Accept-Encoding: gbk, GB2312\r\n"
    "Accept-Language: zh-cn\r\n"
    "Cache-Control: no-cache\r\n";

const char* kOkReply = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok";

// A raw server that records each request and answers `reply`.
RawServer replying(std::string reply) {
  return RawServer(
      [reply](RawConnection& connection, const std::string&) { connection.send(reply); });
}

// Runs web_request through a transport that records (and may fail) steps,
// counting the pending-event calls.
struct Probe {
  std::unique_ptr<platform::Transport> curl = platform::make_curl_transport();
  FailingTransport transport{*curl};
  int events = 0;

  Text run(const Text& url, const WebRequestOptions& options = {}) {
    return web_request(url, options,
                       {.transport = &transport, .process_pending_events = [this] { ++events; }});
  }
};

TEST(WebRequestWire, SendsExactlyThePathAndHeaderBlock) {
  RawServer server = replying(kOkReply);
  std::string host = "Host: 127.0.0.1:" + std::to_string(server.port()) + "\r\n";
  Text status;
  EXPECT_EQ(web_request(server.url(""), {.status_text = &status}), "ok");
  EXPECT_EQ(status, "200 OK");
  web_request(server.url("/js/000001.js?rt=17&x=a%20b"));
  web_request(server.url("/p"), {.extra_headers = "user-agent: X\r\nconnection: keep-alive",
                                 .add_default_headers = true});
  web_request(server.url("/c"), {.method = 8});
  web_request(server.url("/c"), {.method = -1, .add_default_headers = false});
  web_request(server.url("/a/../b/./c?d=/../e"), {.add_default_headers = false});

  std::vector<std::string> seen = server.requests();
  ASSERT_EQ(seen.size(), 6u);
  EXPECT_EQ(seen[0], "GET / HTTP/1.1\r\n" + host + kDefaultLines + "\r\n");
  EXPECT_EQ(seen[1],
            "GET /js/000001.js?rt=17&x=a%20b HTTP/1.1\r\n" + host + kDefaultLines + "\r\n");
  EXPECT_EQ(seen[2], "GET /p HTTP/1.1\r\n" + host +
                         "User-Agent: X\r\n"
                         "Accept: text/html, application/xhtml+xml, */*\r\n"
                         "Accept-Encoding: gbk, GB2312\r\n"
                         "Accept-Language: zh-cn\r\n"
                         "Cache-Control: no-cache\r\n\r\n");
  EXPECT_EQ(seen[3], "GET /c HTTP/1.1\r\n" + host + kDefaultLines + "\r\n");
  EXPECT_EQ(seen[4], "GET /c HTTP/1.1\r\n" + host + "\r\n");
  // Dot segments are the server's to read: the path goes out as given.
  EXPECT_EQ(seen[5], "GET /a/../b/./c?d=/../e HTTP/1.1\r\n" + host + "\r\n");
}

TEST(WebRequestWire, SendsTheBodyWithTheVerbAndCookies) {
  RawServer server = replying(kOkReply);
  std::string host = "Host: 127.0.0.1:" + std::to_string(server.port()) + "\r\n";
  web_request(server.url("/post"),
              {.method = 1, .post_text = "from=text", .post_bytes = Bytes("by\0tes", 6)});
  web_request(server.url("/put"), {.method = 3, .post_text = "t=1"});
  Text cookies = "a=1; b=2";
  web_request(server.url("/cookie"), {.send_cookies = &cookies, .add_default_headers = false});
  web_request(server.url("/head"), {.method = 2, .add_default_headers = false});

  std::vector<std::string> seen = server.requests();
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[0], "POST /post HTTP/1.1\r\n" + host +
                         "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; "
                         "Trident/5.0)\r\n"
                         "Accept: text/html, application/xhtml+xml, */*\r\n"
                         "Accept-Encoding: gbk, GB2312\r\n"
                         "Accept-Language: zh-cn\r\n"
                         "Content-Type: application/x-www-form-urlencoded\r\n"
                         "Cache-Control: no-cache\r\n"
                         "Content-Length: 6\r\n\r\n" +
                         std::string("by\0tes", 6));
  EXPECT_EQ(seen[1],
            "PUT /put HTTP/1.1\r\n" + host + kDefaultLines + "Content-Length: 3\r\n\r\nt=1");
  EXPECT_EQ(seen[2], "GET /cookie HTTP/1.1\r\n" + host + "Cookie: a=1; b=2\r\n\r\n");
  EXPECT_EQ(seen[3], "HEAD /head HTTP/1.1\r\n" + host + "\r\n");
}

TEST(WebRequestWire, GoesThroughAProxyWithCredentials) {
  RawServer proxy = replying(kOkReply);
  std::string address = "127.0.0.1:" + std::to_string(proxy.port());
  Text status;
  // The host is never resolved: the proxy receives the whole URL.
  EXPECT_EQ(web_request("http://fund.example.test/a?b=1", {.auth_user = "u",
                                                           .auth_password = "p",
                                                           .proxy = address,
                                                           .proxy_user = "pu",
                                                           .proxy_password = "pp",
                                                           .status_text = &status,
                                                           .add_default_headers = false}),
            "ok");
  EXPECT_EQ(status, "200 OK");
  ASSERT_EQ(proxy.requests().size(), 1u);
  EXPECT_EQ(proxy.requests()[0],
            "GET http://fund.example.test/a?b=1 HTTP/1.1\r\n"
            "Host: fund.example.test\r\n"
            "Proxy-Authorization: Basic cHU6cHA=\r\n"
            "Authorization: Basic dTpw\r\n\r\n");
}

TEST(WebRequestSteps, HandsTheTransportTheDefaultedValues) {
  LocalServer server([](const ServedRequest&) { return Reply{.body = "x"}; });
  struct Case {
    WebRequestOptions options;
    int limit_ms;
    const char* verb;
  } cases[] = {
      {{}, 30000, "GET"},
      {{.timeout_seconds = 5}, 5000, "GET"},
      {{.timeout_seconds = -2}, 30000, "GET"},
      {{.method = 1}, 30000, "POST"},
      {{.method = 7}, 30000, "CONNECT"},
      {{.method = 8}, 30000, "GET"},
      {{.method = -1}, 30000, "GET"},
  };
  for (const Case& c : cases) {
    Probe probe;
    probe.transport.fail_at = TransportStep::kSend;  // nothing needs to reach the server
    probe.run(server.url("/q?a=1"), c.options);
    EXPECT_EQ(probe.transport.record.timeouts,
              (std::vector<int>{c.limit_ms, c.limit_ms, c.limit_ms, c.limit_ms}));
    EXPECT_EQ(probe.transport.record.verb, c.verb);
    EXPECT_EQ(probe.transport.record.object_path, "/q?a=1");
    EXPECT_EQ(probe.transport.record.access_type, platform::kAccessNoProxy);
    EXPECT_EQ(probe.transport.record.request_flags, 0u);
    EXPECT_EQ(probe.transport.record.options,
              (std::vector<std::pair<int, std::uint32_t>>{{31, 0x3300}, {63, 1}}));
  }

  Probe proxied;
  proxied.transport.fail_at = TransportStep::kSend;
  Text cookies = "a=1";
  proxied.run("http://127.0.0.1:1/",
              {.send_cookies = &cookies, .no_redirect = true, .proxy = "127.0.0.1:3128"});
  EXPECT_EQ(proxied.transport.record.access_type, platform::kAccessNamedProxy);
  EXPECT_EQ(proxied.transport.record.proxy, "http=127.0.0.1:3128");
  EXPECT_EQ(proxied.transport.record.options,
            (std::vector<std::pair<int, std::uint32_t>>{{31, 0x3300}, {79, 1}, {63, 2}}));
  Probe secure;
  secure.transport.fail_at = TransportStep::kSend;
  secure.run("https://127.0.0.1:1", {.proxy = "127.0.0.1:3128"});
  EXPECT_EQ(secure.transport.record.proxy, "127.0.0.1:3128");
  EXPECT_EQ(secure.transport.record.request_flags, platform::kRequestSecure);
  EXPECT_EQ(secure.transport.record.object_path, "/");
}

TEST(WebRequestSteps, EachFailingStepGivesItsTextAndExit) {
  LocalServer server([](const ServedRequest&) { return Reply{.body = "x"}; });
  struct Case {
    TransportStep step;
    const char* message;
    int events;  // 0 for the exits that dispatch nothing
  } cases[] = {
      {TransportStep::kCheckPlatform, "700 当前系统不支持WinHttp服务!", 0},
      {TransportStep::kCrackUrl, "701 解析URL地址失败!", 1},
      {TransportStep::kOpenSession, "702 创建WinHttp会话失败!", 1},
      {TransportStep::kSetTimeouts, "705 设置超时时间失败!", 1},
      {TransportStep::kConnect, "703 创建WinHttp连接失败!", 1},
      {TransportStep::kOpenRequest, "704 创建WinHttp请求失败!", 1},
      {TransportStep::kSetServerCredentials, "707 设置代理凭证失败!", 0},
      {TransportStep::kSetProxyCredentials, "707 设置代理凭证失败!", 0},
      {TransportStep::kSetSecurityFlags, "忽略错误/证书错误  失败！", 0},
      {TransportStep::kSetCookieFeature, "708 禁止自动设置Cookies失败!", 0},
      {TransportStep::kSetRedirectFeature, "709 重定向设置失败!", 0},
      {TransportStep::kAddHeaders, "710 设置协议头失败!", 1},
      {TransportStep::kSend, "711 发送请求失败!", 1},
      {TransportStep::kReceive, "712 服务器未响应!", 1},
  };
  for (const Case& c : cases) {
    Probe probe;
    probe.transport.fail_at = c.step;
    Text status = "before", headers = "untouched", bytes = "untouched";
    platform::ComponentLibraryCounts before = platform::component_library_counts();
    Text result = probe.run(server.url("/"), {.reply_headers = &headers,
                                              .no_redirect = true,
                                              .auth_user = "u",
                                              .auth_password = "p",
                                              .proxy_user = "pu",
                                              .proxy_password = "pp",
                                              .status_text = &status,
                                              .reply_bytes = &bytes});
    platform::ComponentLibraryCounts after = platform::component_library_counts();
    const auto& record = probe.transport.record;
    EXPECT_EQ(result, "") << c.message;
    EXPECT_EQ(status, gbk(c.message));
    EXPECT_EQ(probe.events, c.events) << c.message;
    EXPECT_EQ(record.steps.back(), c.step) << c.message << ": no step runs after the failure";
    EXPECT_EQ(headers, "untouched");
    EXPECT_EQ(bytes, "untouched");
    // Every handle opened is closed, request first; the three slots are
    // closed even when null.
    EXPECT_EQ(record.closed.size(), 3u);
    std::vector<platform::TransportHandle> opened = record.opened;
    std::vector<platform::TransportHandle> closed(record.closed.rbegin(), record.closed.rend());
    closed.resize(opened.size());
    EXPECT_EQ(closed, opened) << c.message;
    EXPECT_EQ(after.initialised - before.initialised, after.released - before.released);
  }
}

TEST(WebRequestSteps, UnreadableReplyHeadersLeaveOutputsUnwritten) {
  RawServer server = replying("HTTP/1.1 200 OK\r\nContent-Length: 100\r\nSet-Cookie: s=1\r\n\r\n" +
                              std::string(40, 'b'));
  Probe probe;
  probe.transport.fail_at = TransportStep::kQueryRawHeaders;
  Text status, cookies = "kept", location = "kept";
  Bytes bytes = "kept";
  EXPECT_EQ(probe.run(server.url("/"), {.reply_cookies = &cookies,
                                        .redirect_location = &location,
                                        .status_text = &status,
                                        .reply_bytes = &bytes}),
            "");
  // The body broke off, and with no header block the read failure stays.
  EXPECT_EQ(status, gbk("713 读取数据失败!"));
  EXPECT_EQ(cookies, "kept");
  EXPECT_EQ(bytes, "kept");
  EXPECT_EQ(probe.events, 1);
  const auto& steps = probe.transport.record.steps;
  EXPECT_EQ(std::count(steps.begin(), steps.end(), TransportStep::kReadData), 2)
      << "one read of the 40 bytes, one that fails";
}

TEST(WebRequestReply, ReturnsStatusHeadersAndBodyOfAnyStatus) {
  LocalServer server([](const ServedRequest& request) {
    if (request.target == "/zero") return Reply{.body = Bytes("ab\0cd", 5)};
    if (request.target == "/missing") return Reply{.status = 404, .body = "no such fund"};
    return Reply{.status = 500, .body = "broken"};
  });
  struct Case {
    const char* path;
    Text result, status;
    Bytes bytes;
  } cases[] = {
      {"/zero", "ab", "200 OK", Bytes("ab\0cd", 5)},
      {"/missing", "no such fund", "404 Not Found", "no such fund"},
      {"/error", "broken", "500 Internal Server Error", "broken"},
  };
  for (const Case& c : cases) {
    Text status, headers;
    Bytes bytes;
    int events = 0;
    EXPECT_EQ(
        web_request(server.url(c.path),
                    {.reply_headers = &headers, .status_text = &status, .reply_bytes = &bytes},
                    {.process_pending_events = [&] { ++events; }}),
        c.result);
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(bytes, c.bytes);
    EXPECT_EQ(headers.substr(0, 9 + c.status.size() + 2), "HTTP/1.1 " + c.status + "\r\n");
    EXPECT_EQ(headers.substr(headers.size() - 4), "\r\n\r\n");
    EXPECT_NE(headers.find("Content-Length: " + std::to_string(c.bytes.size()) + "\r\n"),
              Text::npos);
    // After each header line (the final blank one included), after the
    // charset search, and before closing.
    int lines = 0;
    for (std::size_t at = 0; (at = headers.find("\r\n", at)) != Text::npos; at += 2) ++lines;
    EXPECT_EQ(events, lines + 2) << c.path;
  }
}

TEST(WebRequestReply, FollowsRedirectsOnlyWhenAllowed) {
  LocalServer server([](const ServedRequest& request) {
    if (request.target == "/old") {
      return Reply{.status = 302, .headers = {{"location", "/new"}}, .body = "moved"};
    }
    if (request.target.rfind("/loop", 0) == 0) {
      return Reply{.status = 302, .headers = {{"Location", "/loop" + request.target}}};
    }
    return Reply{.body = "final page"};
  });
  Text status, location, headers;
  EXPECT_EQ(web_request(server.url("/old"), {.reply_headers = &headers,
                                             .redirect_location = &location,
                                             .status_text = &status}),
            "final page");
  EXPECT_EQ(status, "200 OK");
  EXPECT_EQ(location, "");
  EXPECT_EQ(headers.find("302"), Text::npos) << "only the final reply's headers: " << headers;

  EXPECT_EQ(
      web_request(server.url("/old"),
                  {.no_redirect = true, .redirect_location = &location, .status_text = &status}),
      "moved");
  EXPECT_EQ(status.substr(0, 3), "302");
  EXPECT_EQ(location, "/new");

  // A POST answered by a redirect is followed with a GET of the new address.
  std::size_t before = server.requests().size();
  EXPECT_EQ(web_request(server.url("/old"), {.method = 1, .post_text = "a=1"}), "final page");
  ASSERT_EQ(server.requests().size() - before, 2u);
  EXPECT_EQ(server.requests()[before].method, "POST");
  EXPECT_EQ(server.requests()[before + 1].method, "GET");
  EXPECT_EQ(server.requests()[before + 1].target, "/new");

  before = server.requests().size();
  EXPECT_EQ(web_request(server.url("/loop"), {.status_text = &status}), "");
  EXPECT_EQ(status, gbk("712 服务器未响应!"));
  EXPECT_EQ(server.requests().size() - before, 11u) << "the first request and 10 redirects";
}

TEST(WebRequestReply, CollectsAndMergesCookies) {
  LocalServer server([](const ServedRequest& request) {
    if (request.target == "/none") return Reply{.body = "x"};
    return Reply{.headers = {{"Set-Cookie", "a=2; path=/"},
                             {"Set-Cookie", "b=3"},
                             {"set-cookie", "c=9"},
                             {"Set-Cookie", "old=deleted; path=/"}},
                 .body = "x"};
  });
  Text reply_cookies;
  web_request(server.url("/set"), {.reply_cookies = &reply_cookies});
  EXPECT_EQ(reply_cookies, "a=2; b=3; old=deleted");

  Text send = "a=1; old=7; keep=1", merged;
  web_request(server.url("/set"), {.send_cookies = &send, .reply_cookies = &merged});
  EXPECT_EQ(merged, "a=2; b=3; keep=1");
  EXPECT_EQ(send, "a=2; b=3; keep=1");
  EXPECT_EQ(server.requests().back().header("Cookie"), "a=1; old=7; keep=1");

  Text jar = "x=1", received;
  web_request(server.url("/none"), {.send_cookies = &jar, .reply_cookies = &received});
  EXPECT_EQ(jar, "x=1");
  EXPECT_EQ(received, "x=1");

  Text unmerged = "x=1", fresh;
  web_request(server.url("/set"),
              {.send_cookies = &unmerged, .reply_cookies = &fresh, .auto_merge_cookies = false});
  EXPECT_EQ(unmerged, "x=1");
  EXPECT_EQ(fresh, "a=2; b=3; old=deleted");
}

TEST(WebRequestReply, RedecodesPagesDeclaringUtf8) {
  const Text utf8 = "\xE5\x9F\xBA\xE9\x87\x91", gbk_text = "\xBB\xF9\xBD\xF0";
  LocalServer server([&](const ServedRequest& request) {
    Text charset = request.target.substr(1);
    return Reply{.body = "<html><meta charset=\"" + charset + "\">" +
                         (charset == "GB2312" ? gbk_text : utf8),
                 .content_type = "text/html"};
  });
  Bytes bytes;
  EXPECT_EQ(web_request(server.url("/utf-8"), {.reply_bytes = &bytes}),
            "<html><meta charset=\"utf-8\">" + gbk_text);
  EXPECT_EQ(bytes, "<html><meta charset=\"utf-8\">" + utf8);
  EXPECT_EQ(web_request(server.url("/gb2312")), "<html><meta charset=\"gb2312\">" + utf8);
  EXPECT_EQ(web_request(server.url("/GB2312")), "<html><meta charset=\"GB2312\">" + gbk_text);
}

TEST(WebRequestReply, AcceptsAnyCertificateOverHttps) {
  for (CertificateKind kind :
       {CertificateKind::kSelfSigned, CertificateKind::kExpired, CertificateKind::kWrongName}) {
    LocalServer server([](const ServedRequest& request) { return Reply{.body = request.target}; },
                       {.tls = true, .certificate = kind});
    Text status;
    EXPECT_EQ(web_request(server.url("/secure?x=1"), {.status_text = &status}), "/secure?x=1")
        << static_cast<int>(kind);
    EXPECT_EQ(status, "200 OK");
  }
}

TEST(WebRequestReply, NestedRequestsFromPendingEventsEachComplete) {
  LocalServer server([](const ServedRequest& request) { return Reply{.body = request.target}; });
  Text inner;
  int depth = 0;
  Text outer = web_request(server.url("/outer"), {}, {.process_pending_events = [&] {
                             if (depth++ == 0) inner = web_request(server.url("/inner"));
                           }});
  EXPECT_EQ(outer, "/outer");
  EXPECT_EQ(inner, "/inner");
}

// Real faults: each call returns, closes its handles and leaves no thread
// or socket behind.
TEST(WebRequestFaults, SurvivesBrokenServers) {
  struct Case {
    const char* what;
    RawServer::Script script;
    Text status, result;
    Bytes bytes;
  } cases[] = {
      {"accepts and never answers",
       [](RawConnection& c, const std::string&) { c.wait_until_stopped(); }, "712 服务器未响应!",
       "", ""},
      {"half the body, then closes",
       [](RawConnection& c, const std::string&) {
         c.send("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nhalf_");
       },
       "200 OK", "half_", "half_"},
      {"garbage instead of HTTP",
       [](RawConnection& c, const std::string&) { c.send("\x16\x03\x01 garbage\r\n\r\n"); },
       "712 服务器未响应!", "", ""},
      {"closes at once", [](RawConnection&, const std::string&) {}, "712 服务器未响应!", "", ""},
      {"stalls in the body",
       [](RawConnection& c, const std::string&) {
         c.send("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nslow");
         c.wait_until_stopped();
       },
       "200 OK", "slow", "slow"},
  };
  for (const Case& c : cases) {
    int descriptors = testing_servers::open_descriptor_count();
    int threads = testing_servers::thread_count();
    Text status, result;
    Bytes bytes;
    Probe probe;
    auto started = std::chrono::steady_clock::now();
    {
      RawServer server(c.script);
      result = probe.run(server.url("/"),
                         {.timeout_seconds = 1, .status_text = &status, .reply_bytes = &bytes});
    }
    auto seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    EXPECT_EQ(result, c.result) << c.what;
    EXPECT_EQ(status, gbk(c.status)) << c.what;
    EXPECT_EQ(bytes, c.bytes) << c.what;
    EXPECT_LT(seconds, 3.5) << c.what << ": a 1 s limit";
    EXPECT_EQ(probe.transport.record.closed.size(), 3u) << c.what;
    EXPECT_EQ(testing_servers::open_descriptor_count(), descriptors) << c.what;
    EXPECT_EQ(testing_servers::thread_count(), threads) << c.what;
  }
}

TEST(WebRequestFaults, RefusedAndUnfetchableUrls) {
  Text status = "x";
  std::string refused = "http://127.0.0.1:" + std::to_string(testing_servers::closed_port()) + "/";
  EXPECT_EQ(web_request(refused, {.status_text = &status}), "");
  EXPECT_EQ(status, gbk("711 发送请求失败!"));

  for (const char* url : {"file:///etc/hostname", "ftp://127.0.0.1/", "http://127.0.0.1/a b",
                          "http://127.0.0.1/a\r\nX-Injected: 1", "not a url", ""}) {
    Probe probe;
    status.clear();
    EXPECT_EQ(probe.run(url, {.status_text = &status}), "") << url;
    EXPECT_EQ(status, gbk("701 解析URL地址失败!")) << url;
    EXPECT_EQ(probe.transport.record.opened.size(), 0u) << url << " touched nothing";
  }
}

// What one bounded call against a hostile endpoint gave back.
struct Outcome {
  Text result, status;
  Text headers = "unwritten", location = "unwritten";
  Bytes bytes = "unwritten";
  double seconds = 0;
  std::size_t closed_handles = 0;
};

Outcome run_with_limit(const std::string& url, WebRequestOptions options) {
  Outcome out;
  Probe probe;
  options.reply_headers = &out.headers;
  options.redirect_location = &out.location;
  options.status_text = &out.status;
  options.reply_bytes = &out.bytes;
  auto started = std::chrono::steady_clock::now();
  out.result = probe.run(url, options);
  out.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  out.closed_handles = probe.transport.record.closed.size();
  return out;
}

// Each hostile endpoint is cut off within its limit (1 s per phase, 4 s for
// the whole exchange), fails with the status of the step it was in, keeps no
// part of a reply it abandoned, and leaves no thread or socket behind.
TEST(WebRequestFaults, HostileEndpointsEndWithinTheirLimits) {
  const std::string refused =
      "http://127.0.0.1:" + std::to_string(testing_servers::closed_port()) + "/";
  const std::string header = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n";
  std::string silent_url;  // a host that accepts and never answers, for the case that needs one
  struct Case {
    const char* what;
    RawServer::Script script;
    Text status;
    double min_seconds = 0, max_seconds = 3;
    Bytes post_bytes = {};
    testing_servers::RawServerOptions options = {};
    bool needs_silent_host = false;
  } cases[] = {
      {"a body that never ends",
       [&](RawConnection& c, const std::string&) {
         if (!c.send(header + "\r\n")) return;
         const std::string piece(1 << 20, 'x');
         while (c.send(piece)) {
         }
       },
       "713 读取数据失败!", 0, 7},
      {"a 70 MiB body",
       [&](RawConnection& c, const std::string&) {
         if (!c.send(header + "Content-Length: 73400320\r\n\r\n")) return;
         const std::string piece(1 << 20, 'x');
         for (int i = 0; i < 70 && c.send(piece); ++i) {
         }
       },
       "713 读取数据失败!"},
      {"one body byte every 0.3 s",
       [&](RawConnection& c, const std::string&) {
         if (!c.send(header + "Content-Length: 1000\r\n\r\n")) return;
         while (c.sleep_for(std::chrono::milliseconds(300)) && c.send("x")) {
         }
       },
       "713 读取数据失败!", 3.9, 7},
      {"one header line every 0.3 s",
       [&](RawConnection& c, const std::string&) {
         if (!c.send("HTTP/1.1 200 OK\r\n")) return;
         while (c.sleep_for(std::chrono::milliseconds(300)) && c.send("X-Slow: 1\r\n")) {
         }
       },
       "712 服务器未响应!", 3.9, 7},
      {"a redirect to a refused port",
       [&](RawConnection& c, const std::string&) {
         c.send("HTTP/1.1 302 Found\r\nLocation: " + refused + "\r\nContent-Length: 0\r\n\r\n");
       },
       "712 服务器未响应!"},
      {"a redirect to a host that never answers",
       [&](RawConnection& c, const std::string&) {
         c.send("HTTP/1.1 302 Found\r\nLocation: " + silent_url + "\r\nContent-Length: 0\r\n\r\n");
       },
       "712 服务器未响应!",
       0.9,
       3,
       {},
       {},
       true},
      {"a redirect to ftp://",
       [&](RawConnection& c, const std::string&) {
         c.send("HTTP/1.1 302 Found\r\nLocation: ftp://127.0.0.1/f\r\nContent-Length: 0\r\n\r\n");
       },
       "712 服务器未响应!"},
      {"a reset while a 20 MB body is sent",
       [&](RawConnection& c, const std::string&) { c.reset(); },
       "711 发送请求失败!",
       0,
       3,
       Bytes(20'000'000, 'p'),
       {.read_body = false}},
  };
  for (const Case& c : cases) {
    int descriptors = testing_servers::open_descriptor_count();
    int threads = testing_servers::thread_count();
    Outcome out;
    {
      std::optional<RawServer> silent;
      if (c.needs_silent_host) {
        silent.emplace([](RawConnection& c, const std::string&) { c.wait_until_stopped(); });
        silent_url = silent->url("/");
      }
      RawServer server(c.script, c.options);
      out = run_with_limit(server.url("/"), {.method = c.post_bytes.empty() ? 0 : 1,
                                             .timeout_seconds = 1,
                                             .post_bytes = c.post_bytes});
    }
    EXPECT_EQ(out.status, gbk(c.status)) << c.what;
    EXPECT_EQ(out.result, "") << c.what;
    EXPECT_EQ(out.bytes, "unwritten") << c.what << ": no body kept";
    EXPECT_EQ(out.headers, "unwritten") << c.what;
    EXPECT_EQ(out.location, "unwritten") << c.what;
    EXPECT_GE(out.seconds, c.min_seconds) << c.what;
    EXPECT_LT(out.seconds, c.max_seconds) << c.what;
    EXPECT_EQ(out.closed_handles, 3u) << c.what;
    EXPECT_EQ(testing_servers::open_descriptor_count(), descriptors) << c.what;
    EXPECT_EQ(testing_servers::thread_count(), threads) << c.what;
  }

  // A listener on 127.0.0.1 that never accepts: connecting ends after its
  // own limit (2 s), not after the sum of the resolve and connect limits.
  int descriptors = testing_servers::open_descriptor_count();
  Outcome out;
  {
    testing_servers::FullListener listener;
    out = run_with_limit(listener.url("/"), {.timeout_seconds = 2});
  }
  EXPECT_EQ(out.status, gbk("711 发送请求失败!"));
  EXPECT_GE(out.seconds, 1.9);
  EXPECT_LT(out.seconds, 3.5);
  EXPECT_EQ(out.closed_handles, 3u);
  EXPECT_EQ(testing_servers::open_descriptor_count(), descriptors);
}

// A plain-HTTP proxy serves the plain-HTTP hops only: the https hop a
// redirect leads to goes straight to its host.
TEST(WebRequestWire, AnHttpProxyIsLeftForAnHttpsHop) {
  LocalServer secure([](const ServedRequest&) { return Reply{.body = "secure page"}; },
                     {.tls = true});
  RawServer proxy([&](RawConnection& c, const std::string&) {
    c.send("HTTP/1.1 302 Found\r\nLocation: " + secure.url("/final") +
           "\r\nContent-Length: 0\r\n\r\n");
  });
  Text status;
  EXPECT_EQ(
      web_request("http://fund.example.test/start",
                  {.proxy = "127.0.0.1:" + std::to_string(proxy.port()), .status_text = &status}),
      "secure page");
  EXPECT_EQ(status, "200 OK");
  ASSERT_EQ(proxy.requests().size(), 1u);
  EXPECT_EQ(proxy.requests()[0].rfind("GET http://fund.example.test/start HTTP/1.1\r\n", 0), 0u);
  ASSERT_EQ(secure.requests().size(), 1u);
  EXPECT_EQ(secure.requests()[0].target, "/final");
}

// Credentials and cookies stay with the host they were given for; a
// redirect to another origin gets neither.
TEST(WebRequestWire, ARedirectToAnotherOriginCarriesNoCredentials) {
  LocalServer other([](const ServedRequest&) { return Reply{.body = "elsewhere"}; });
  LocalServer first([&](const ServedRequest& request) {
    if (request.target == "/same") return Reply{.status = 307, .headers = {{"Location", "/end"}}};
    if (request.target == "/end") return Reply{.body = "here"};
    return Reply{.status = 302, .headers = {{"Location", other.url("/x")}}};
  });
  Text cookies = "a=1";
  EXPECT_EQ(web_request(first.url("/away"), {.send_cookies = &cookies,
                                             .extra_headers = "Authorization: Bearer t",
                                             .auth_user = "u",
                                             .auth_password = "p"}),
            "elsewhere");
  cookies = "a=1";
  EXPECT_EQ(web_request(first.url("/same"), {.method = 1,
                                             .post_text = "k=v",
                                             .send_cookies = &cookies,
                                             .auth_user = "u",
                                             .auth_password = "p"}),
            "here");
  ASSERT_EQ(first.requests().size(), 3u);
  EXPECT_EQ(first.requests()[0].header("Authorization"), "Bearer t");
  EXPECT_EQ(first.requests()[0].header("Cookie"), "a=1");
  ASSERT_EQ(other.requests().size(), 1u);
  EXPECT_EQ(other.requests()[0].header("Authorization"), "");
  EXPECT_EQ(other.requests()[0].header("Cookie"), "");
  // A 307 on the same origin repeats the request whole, credentials too.
  const ServedRequest repeated = first.requests()[2];
  EXPECT_EQ(repeated.method, "POST");
  EXPECT_EQ(repeated.body, "k=v");
  EXPECT_EQ(repeated.header("Authorization"), "Basic dTpw");
  EXPECT_EQ(repeated.header("Cookie"), "a=1");
}

}  // namespace
