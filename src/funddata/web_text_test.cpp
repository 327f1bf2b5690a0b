#include "funddata/web_text.h"

#include <gtest/gtest.h>

#include "platform/testing/local_servers.h"
#include "text/gbk_literal.h"

namespace {

using testing_servers::LocalServer;
using testing_servers::Reply;
using testing_servers::ServedRequest;

// Each reply is the page that the path names; every text is read once.
TEST(FetchText, ConvertsFromUtf8ExactlyOnce) {
  struct Case {
    const char* path;
    std::string body;  // as sent
    Text expected;     // GBK
  };
  const Case cases[] = {
      // No declaration: read as UTF-8.
      {"/plain", "{\"name\":\"示例基金\"}", gbk("{\"name\":\"示例基金\"}")},
      // A head declaring UTF-8 is re-decoded by the request already.
      {"/declared",
       "<html><head><meta charset=\"utf-8\"><title>基金概况</title></head>"
       "<body>\"fundManagerName\":\"张示例\"</body></html>",
       gbk("<html><head><meta charset=\"utf-8\"><title>基金概况</title></head>"
           "<body>\"fundManagerName\":\"张示例\"</body></html>")},
      // Declared GBK under another spelling: re-decoded as GBK, not read as UTF-8.
      {"/gbk", gbk("<meta charset=\"GBK\">示例"), gbk("<meta charset=\"GBK\">示例")},
      // Bytes that are not UTF-8 become "?".
      {"/broken",
       "a\xFF"
       "b",
       "a?b"},
  };
  LocalServer server([&](const ServedRequest& request) {
    for (const Case& c : cases) {
      if (request.target == c.path) return Reply{.body = c.body, .content_type = "text/html"};
    }
    return Reply{.status = 404};
  });
  for (const Case& c : cases) EXPECT_EQ(fetch_text(server.url(c.path)), c.expected) << c.path;
  EXPECT_EQ(fetch_text("http://127.0.0.1:1/refused"), "");
}

TEST(FetchText, TellsA2xxReplyFromOthers) {
  LocalServer server([](const ServedRequest& request) {
    return Reply{.status = std::stoi(request.target.substr(1)), .body = "page"};
  });
  EXPECT_TRUE(fetch_reply(server.url("/200")).ok);
  EXPECT_TRUE(fetch_reply(server.url("/204")).ok);
  FetchedText missing = fetch_reply(server.url("/404"));
  EXPECT_FALSE(missing.ok);
  EXPECT_EQ(missing.text, "page");
  EXPECT_FALSE(fetch_reply(server.url("/500")).ok);
  EXPECT_FALSE(fetch_reply("http://127.0.0.1:1/refused").ok);
}

TEST(FetchText, SendsTheExtraHeaderLines) {
  LocalServer server([](const ServedRequest&) { return Reply{.body = "ok"}; });
  ASSERT_EQ(fetch_text(server.url("/x"), "Referer: http://127.0.0.1/ccmx_990001.html"), "ok");
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(server.requests()[0].header("Referer"), "http://127.0.0.1/ccmx_990001.html");
}

}  // namespace
