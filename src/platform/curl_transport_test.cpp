#include "platform/curl_transport.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(CurlTransport, CracksHttpAndHttpsUrls) {
  auto transport = make_curl_transport();
  struct Case {
    std::u16string url;
    int scheme;
    std::u16string host;
    int port;
    std::u16string path, extra;
  } cases[] = {
      {u"http://example.test", kSchemeHttp, u"example.test", 80, u"/", u""},
      {u"https://example.test/a/b?x=1&y=2", kSchemeHttps, u"example.test", 443, u"/a/b",
       u"?x=1&y=2"},
      {u"http://127.0.0.1:8080/js/1.js?rt=1#top", kSchemeHttp, u"127.0.0.1", 8080, u"/js/1.js",
       u"?rt=1"},
      {u"HTTP://[::1]:81/", kSchemeHttp, u"::1", 81, u"/", u""},
      // Dot segments are kept: the path is the server's to read.
      {u"http://h.test/a/../b/./c?x=/../y", kSchemeHttp, u"h.test", 80, u"/a/../b/./c",
       u"?x=/../y"},
      // Beyond ASCII: percent-encoded as UTF-8, the rest left as it is.
      {u"http://127.0.0.1/js/\u57FA%41.js?q=\u91D1&r=%20", kSchemeHttp, u"127.0.0.1", 80,
       u"/js/%E5%9F%BA%41.js", u"?q=%E9%87%91&r=%20"},
  };
  for (const Case& c : cases) {
    CrackedUrl parts;
    ASSERT_TRUE(transport->crack_url(c.url, &parts)) << std::string(c.url.begin(), c.url.end());
    EXPECT_EQ(parts.scheme, c.scheme);
    EXPECT_EQ(parts.host, c.host);
    EXPECT_EQ(parts.port, c.port);
    EXPECT_EQ(parts.path, c.path);
    EXPECT_EQ(parts.extra, c.extra);
  }
}

TEST(CurlTransport, RefusesUrlsThatMustNotReachTheWire) {
  auto transport = make_curl_transport();
  for (std::u16string url :
       {u"", u"file:///etc/passwd", u"ftp://127.0.0.1/", u"gopher://127.0.0.1/", u"127.0.0.1/a",
        u"http://", u"http://127.0.0.1/a b", u"http://127.0.0.1/a\r\nX-Injected: 1",
        u"http://127.0.0.1/a\nb", u"http://127.0.0.1/a\tb", u"http://127.0.0.1:99999/",
        u"http://\u57FA.test/", u"http://127.0.0.1:8\uFF10/"}) {
    CrackedUrl parts;
    EXPECT_FALSE(transport->crack_url(url, &parts)) << std::string(url.begin(), url.end());
  }
}

TEST(CurlTransport, RefusesMalformedHeaderLinesAndOptions) {
  auto transport = make_curl_transport();
  TransportHandle session = transport->open_session(kAccessNoProxy, u"");
  TransportHandle connection = transport->connect(session, u"127.0.0.1", 80);
  TransportHandle request = transport->open_request(connection, u"GET", u"/", 0);
  ASSERT_NE(request, 0u);
  EXPECT_TRUE(transport->add_headers(request, u"A: 1\r\n\r\nB: 2\r\n"));
  EXPECT_FALSE(transport->add_headers(request, u"no colon here"));
  EXPECT_FALSE(transport->add_headers(request, u": no name"));
  EXPECT_FALSE(transport->add_headers(request, u"A: 1\nB: 2"));
  EXPECT_FALSE(transport->add_headers(request, u"A B: 1"));
  EXPECT_TRUE(transport->add_headers(request, u"X-a_b.c!#$%&'*+^`|~: 1"));
  for (char16_t separator : std::u16string_view(u"()<>@,;\\\"/[]?={}\x7F\u00E9")) {
    std::u16string line = u"X" + std::u16string(1, separator) + u"Y: 1";
    EXPECT_FALSE(transport->add_headers(request, line)) << static_cast<int>(separator);
  }
  EXPECT_FALSE(transport->set_option(request, 12345, 1));
  EXPECT_FALSE(transport->set_option(session, kOptionSecurityFlags, 0x3300));
  EXPECT_FALSE(transport->set_credentials(request, 7, u"u", u"p"));
  // Steps on a request that was never sent report no reply.
  EXPECT_FALSE(transport->receive(request));
  std::size_t length = 99;
  EXPECT_FALSE(transport->query_raw_headers(request, nullptr, &length));
  EXPECT_EQ(length, 0u);
  transport->close(request);
  transport->close(connection);
  transport->close(session);
  transport->close(0);
}

}  // namespace
}  // namespace platform
