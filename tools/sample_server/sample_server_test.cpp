#include "sample_server/sample_server.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <string>

#include "platform/png_decoder.h"

namespace sample {
namespace {

using std::chrono::milliseconds;

constexpr const char* kQuoteTarget =
    "/api/qt/ulist.np/get?fltt=2&invt=2&fields=f2,f3,f12,f14,f9"
    "&cb=jQuery18306676004993145754_1594342916372&ut=c41e08d3b7fa59e2d06c8b1743ea9f5d"
    "&secids=";
constexpr const char* kQuoteTail = "&_=1594342917499";

std::string estimate_target(const std::string& code) {
  return "/js/" + code + ".js?rt=0305457217284";
}

// The text between two markers, or "" when either is missing.
std::string between(const std::string& text, const std::string& left, const std::string& right) {
  std::size_t start = text.find(left);
  if (start == std::string::npos) return "";
  start += left.size();
  std::size_t end = text.find(right, start);
  return end == std::string::npos ? "" : text.substr(start, end - start);
}

class SampleServerTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(server_.start()); }

  httplib::Result get(const std::string& target, const httplib::Headers& headers = {}) {
    httplib::Client client("127.0.0.1", server_.http_port());
    client.set_url_encode(false);  // send targets as written, as the program does
    client.set_read_timeout(5, 0);
    return client.Get(target.c_str(), headers);
  }

  httplib::Result get_tls(const std::string& target) {
    httplib::SSLClient client("127.0.0.1", server_.https_port());
    client.enable_server_certificate_verification(false);
    client.set_url_encode(false);
    client.set_read_timeout(5, 0);
    return client.Get(target.c_str());
  }

  // Body of a 200 reply, or a marker text that makes the comparison fail.
  std::string body_of(const httplib::Result& result) {
    if (!result) return "<no reply: " + httplib::to_string(result.error()) + ">";
    if (result->status != 200) return "<status " + std::to_string(result->status) + ">";
    return result->body;
  }

  SampleServer server_;
};

TEST_F(SampleServerTest, EstimateRepliesInTheFieldFormat) {
  EXPECT_EQ(body_of(get(estimate_target("990001"))),
            "jsonpgz({\"fundcode\":\"990001\",\"name\":\"示例成长混合A\",\"jzrq\":\"2026-12-10\","
            "\"dwjz\":\"1.2345\",\"gsz\":\"1.2499\",\"gszzl\":\"1.25\","
            "\"gztime\":\"2026-12-11 14:30\"});");

  struct Case {
    const char* code;
    const char* growth;  // "" when the reply must carry no name
  } cases[] = {
      {"990002", "0.00"},  {"990003", "-0.52"}, {"990004", "0.01"},
      {"990005", "-1.37"}, {"970150", "0.50"},  {"970050", "-0.50"},
      {"123456", ""},      {"abcdef", ""},      {"97015", ""},
  };
  for (const Case& c : cases) {
    std::string reply = body_of(get(estimate_target(c.code)));
    EXPECT_EQ(between(reply, "gszzl\":\"", "\""), c.growth) << c.code;
    if (*c.growth == '\0') {
      EXPECT_EQ(reply, "jsonpgz();") << c.code;
    } else {
      EXPECT_NE(between(reply, "name\":\"", "\""), "") << c.code;
    }
  }
}

TEST_F(SampleServerTest, ChartIsAPngCurvedInTheColourOfTheGrowth) {
  auto has_pixel = [](const platform::RgbaImage& image, unsigned char r, unsigned char g,
                      unsigned char b) {
    for (std::size_t i = 0; i + 3 < image.pixels.size(); i += 4) {
      if (image.pixels[i] == r && image.pixels[i + 1] == g && image.pixels[i + 2] == b) {
        return true;
      }
    }
    return false;
  };
  httplib::Result rising = get("/charts/pic6/990001.png");
  ASSERT_TRUE(rising);
  EXPECT_EQ(rising->get_header_value("Content-Type"), "image/png");
  std::optional<platform::RgbaImage> image = platform::decode_png(body_of(rising));
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width, 240);
  EXPECT_EQ(image->height, 120);
  EXPECT_TRUE(has_pixel(*image, 255, 0, 0));
  EXPECT_FALSE(has_pixel(*image, 0, 160, 0));

  image = platform::decode_png(body_of(get("/charts/pic6/990003.png")));
  ASSERT_TRUE(image.has_value());
  EXPECT_TRUE(has_pixel(*image, 0, 160, 0));
  EXPECT_FALSE(has_pixel(*image, 255, 0, 0));

  httplib::Result unknown = get("/charts/pic6/123456.png");
  ASSERT_TRUE(unknown);
  EXPECT_EQ(unknown->status, 404);
  EXPECT_FALSE(platform::decode_png(unknown->body).has_value());
}

TEST_F(SampleServerTest, HoldingsPageNeedsItsRefererAndListsTwoQuarters) {
  const std::string left = "</td></tr></tbody></table><div class='hide' id='gpdmList'>";
  const std::string right = "</div></div></div>";
  auto page_of = [&](const std::string& code, const std::string& referer_code) {
    return body_of(get("/FundArchivesDatas.aspx?type=jjcc&code=" + code + "&topline=10",
                       {{"Referer", "https://holdings.example/ccmx_" + referer_code + ".html"}}));
  };
  std::string page = page_of("990001", "990001");
  EXPECT_EQ(between(page, left, right), "0.000011,0.300012,1.600013,");
  // Newest quarter first, its rows linking each stock's secid.
  EXPECT_LT(page.find("截止至：<font class='px12'>2026-09-30"),
            page.find("截止至：<font class='px12'>2026-06-30"));
  EXPECT_NE(page.find("<a href='//quote.example/unify/r/0.300012'>300012</a>"), std::string::npos);
  EXPECT_LT(page.find("0.300012"), page.find("2026-06-30"));
  EXPECT_EQ(between(page_of("990003", "990003"), left, right),
            "0.002015,1.601014,0.300012,0.000011,");
  EXPECT_EQ(page_of("123456", "123456").find("gpdmList"), std::string::npos);

  // Without the Referer, or with another fund's, the service answers 404.
  EXPECT_EQ(page_of("990001", "990002"), "<status 404>");
  EXPECT_EQ(body_of(get("/FundArchivesDatas.aspx?type=jjcc&code=990001&topline=10")),
            "<status 404>");
}

TEST_F(SampleServerTest, QuoteRecordsFollowTheSecurityListOverTls) {
  const std::string cb = "jQuery18306676004993145754_1594342916372";
  EXPECT_EQ(
      body_of(get_tls(kQuoteTarget + std::string("0.000011,0.300012,1.600013,") + kQuoteTail)),
      cb + "({\"rc\":0,\"rt\":11,\"svr\":1,\"lt\":1,\"full\":1,\"data\":{\"total\":3,"
           "\"diff\":[{\"f2\":8.76,\"f3\":0.00,\"f9\":15.3,\"f12\":\"000011\","
           "\"f14\":\"示例地产\"},{\"f2\":45.60,\"f3\":1.02,\"f9\":60.7,\"f12\":\"300012\","
           "\"f14\":\"示例科技\"},{\"f2\":12.34,\"f3\":-0.35,\"f9\":20.1,\"f12\":\"600013\","
           "\"f14\":\"示例银行\"}]}});");

  struct Case {
    const char* secids;
    const char* codes;  // the f12 values in reply order
  } cases[] = {
      {"1.600013,0.300012,0.000011,", "600013 300012 000011 "},
      {"1.600013,9.999999,0.002015", "600013 002015 "},  // unknown left out, no final comma
      {"", ""},
  };
  for (const Case& c : cases) {
    std::string reply = body_of(get_tls(kQuoteTarget + std::string(c.secids) + kQuoteTail));
    ASSERT_TRUE(reply.starts_with(cb + "({")) << reply;
    ASSERT_TRUE(reply.ends_with("});")) << reply;
    std::string codes;
    for (std::size_t at = reply.find("\"f12\":\""); at != std::string::npos;
         at = reply.find("\"f12\":\"", at + 1)) {
      codes += reply.substr(at + 7, 6) + " ";
    }
    EXPECT_EQ(codes, c.codes) << c.secids;
  }
}

TEST_F(SampleServerTest, QuotesCarryTheAskedFieldsInNumberOrder) {
  // A Hong Kong stock, a suspended one ("-" values) and an unknown one;
  // without a callback the reply is plain JSON.
  EXPECT_EQ(body_of(get_tls("/api/qt/ulist.np/get?fltt=2&fields=f124,f3,f12,f13"
                            "&secids=116.00981,1.600099,1.999999")),
            "{\"rc\":0,\"rt\":11,\"svr\":1,\"lt\":1,\"full\":1,\"data\":{\"total\":2,"
            "\"diff\":[{\"f3\":1.50,\"f12\":\"00981\",\"f13\":116,\"f124\":1796970600},"
            "{\"f3\":\"-\",\"f12\":\"600099\",\"f13\":1,\"f124\":1796970600}]}}");
}

TEST_F(SampleServerTest, OverviewPageHoldsItsFieldsAndOneFundLacksTheSize) {
  std::string page = body_of(get("/matiaria?fundCode=990001"));
  EXPECT_EQ(between(page, "\"establishmentDate\":\"", "\""), "2015-06-18");
  EXPECT_EQ(between(page, "\"assetSize\":\"", "\""), "12.34亿");
  EXPECT_EQ(between(page, "\"fundManagerName\":\"", "\""), "张示例");
  // Declared UTF-8 near the top, as the overview service does.
  EXPECT_LT(page.find("<meta charset=\"utf-8\">"), 1024u);

  page = body_of(get("/matiaria?fundCode=990005"));
  EXPECT_EQ(page.find("assetSize"), std::string::npos);
  EXPECT_NE(between(page, "\"establishmentDate\":\"", "\""), "");
  EXPECT_NE(between(page, "\"fundManagerName\":\"", "\""), "");

  EXPECT_EQ(body_of(get("/matiaria?fundCode=123456")).find("establishmentDate"), std::string::npos);
  httplib::Result other = get("/nothing/here");
  ASSERT_TRUE(other);
  EXPECT_EQ(other->status, 404);
}

TEST_F(SampleServerTest, LogsEveryRequestAsReceived) {
  get(estimate_target("990001"), {{"Accept-Language", "zh-cn"}});
  get_tls(kQuoteTarget + std::string("1.600013,") + kQuoteTail);
  std::vector<RequestRecord> log = server_.requests();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].scheme, "http");
  EXPECT_EQ(log[0].method, "GET");
  EXPECT_EQ(log[0].target, "/js/990001.js?rt=0305457217284");
  auto header = [](const RequestRecord& r, const std::string& name) {
    for (const auto& [n, v] : r.headers) {
      if (n == name) return v;
    }
    return std::string("<absent>");
  };
  EXPECT_EQ(header(log[0], "Accept-Language"), "zh-cn");
  EXPECT_EQ(header(log[0], "REMOTE_ADDR"), "<absent>");
  EXPECT_EQ(log[1].scheme, "https");
  EXPECT_EQ(log[1].target, kQuoteTarget + std::string("1.600013,") + kQuoteTail);

  server_.clear_requests();
  EXPECT_TRUE(server_.requests().empty());
}

TEST_F(SampleServerTest, DelayIsAddedToEveryReply) {
  server_.set_delay(milliseconds(150));
  auto started = std::chrono::steady_clock::now();
  EXPECT_NE(body_of(get(estimate_target("990002"))), "");
  EXPECT_GE(std::chrono::steady_clock::now() - started, milliseconds(150));
}

TEST_F(SampleServerTest, FailsOnRequestForTheChosenPaths) {
  server_.set_failure({.mode = FailureMode::kStatus500, .target_prefix = "/js/990001"});
  httplib::Result failed = get(estimate_target("990001"));
  ASSERT_TRUE(failed);
  EXPECT_EQ(failed->status, 500);
  EXPECT_EQ(failed->body.find("990001"), std::string::npos);
  EXPECT_NE(body_of(get(estimate_target("990002"))).find("990002"), std::string::npos);

  server_.set_failure({.mode = FailureMode::kNotUtf8});
  std::string garbled = body_of(get("/matiaria?fundCode=990001"));
  EXPECT_EQ(between(garbled, "\"establishmentDate\":\"", "\""), "2015-06-18");
  EXPECT_EQ(between(garbled, "\"assetSize\":\"", "\""), "12.34\xFF\xFF\xFF");
  EXPECT_TRUE(std::all_of(garbled.begin(), garbled.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x80 || static_cast<unsigned char>(c) == 0xFF;
  }));

  server_.set_failure({.mode = FailureMode::kCutShort});
  httplib::Result cut = get("/charts/pic6/990001.png");
  EXPECT_FALSE(cut);  // the connection closed short of the promised length
  EXPECT_EQ(cut.error(), httplib::Error::Read);

  server_.set_failure({});
  EXPECT_TRUE(platform::decode_png(body_of(get("/charts/pic6/990001.png"))).has_value());
}

TEST_F(SampleServerTest, StoppedServerRefusesAndRestartsOnTheSamePorts) {
  const int port = server_.http_port();
  server_.stop();
  EXPECT_FALSE(server_.running());
  httplib::Result refused = get(estimate_target("990001"));
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.error(), httplib::Error::Connection);

  ASSERT_TRUE(server_.start());
  EXPECT_EQ(server_.http_port(), port);
  EXPECT_NE(body_of(get(estimate_target("990001"))), "");
}

TEST_F(SampleServerTest, HeldReplyWaitsForReleaseWhileOthersPass) {
  server_.hold("/js/990003");
  std::future<httplib::Result> held =
      std::async(std::launch::async, [&] { return get(estimate_target("990003")); });
  ASSERT_TRUE(server_.wait_until_held(1, milliseconds(5000)));
  EXPECT_NE(body_of(get(estimate_target("990001"))), "");  // not held: another path
  EXPECT_EQ(held.wait_for(milliseconds(100)), std::future_status::timeout);
  EXPECT_EQ(server_.held_count(), 1u);

  // A failure set while the reply waits applies when it is let go.
  server_.set_failure({.mode = FailureMode::kStatus500});
  server_.release();
  httplib::Result result = held.get();
  ASSERT_TRUE(result);
  EXPECT_EQ(result->status, 500);
  EXPECT_EQ(server_.held_count(), 0u);

  server_.set_failure({});
  EXPECT_NE(body_of(get(estimate_target("990003"))), "");  // holding ended with the release
}

TEST_F(SampleServerTest, HookSeesTheRequestBeforeItsReply) {
  std::promise<std::string> seen;
  std::future<std::string> seen_target = seen.get_future();
  server_.set_request_hook([&](const RequestRecord& r) { seen.set_value(r.target); });
  server_.hold();
  std::future<httplib::Result> reply =
      std::async(std::launch::async, [&] { return get(estimate_target("990004")); });
  ASSERT_EQ(seen_target.wait_for(milliseconds(5000)), std::future_status::ready);
  EXPECT_EQ(seen_target.get(), estimate_target("990004"));
  EXPECT_EQ(reply.wait_for(milliseconds(50)), std::future_status::timeout);
  server_.set_request_hook({});

  server_.stop();  // lets the held reply go instead of hanging
  ASSERT_EQ(reply.wait_for(milliseconds(5000)), std::future_status::ready);
}

}  // namespace
}  // namespace sample
