#include "funddata/holdings_cache.h"

#include <gtest/gtest.h>

#include <atomic>

#include "platform/testing/local_servers.h"
#include "text/gbk_literal.h"

namespace {

using testing_servers::LocalServer;
using testing_servers::Reply;
using testing_servers::ServedRequest;

const char kPage[] =
    "var apidata={ content:\"<h4>截止至：2026-09-30</h4><table><thead><tr><th>股票代码</th>"
    "<th>占净值比例</th></tr></thead><tbody><tr><td><a href='//q/unify/r/1.600519'>600519</a>"
    "</td><td>9.92%</td></tr></tbody></table>\",arryear:[2026],curyear:2026};";

// The holdings service as the fund's code decides: 990001 answers, 990002
// fails with 500 until told otherwise, 990003 has no table.
class HoldingsCacheTest : public testing::Test {
 protected:
  LocalServer server{[this](const ServedRequest& request) {
    if (request.header("Referer").empty()) return Reply{.status = 404, .body = "<h1>404</h1>"};
    if (request.target.find("code=990002") != std::string::npos && !second_fund_answers) {
      return Reply{.status = 500, .body = "<h1>500</h1>"};
    }
    if (request.target.find("code=990003") != std::string::npos) {
      return Reply{.body = "var apidata={ content:\"\",arryear:[],curyear:0};"};
    }
    return Reply{.body = kPage, .content_type = "text/html; charset=utf-8"};
  }};
  std::atomic<bool> second_fund_answers = false;
  Endpoints endpoints{.holdings = server.url("")};
  HoldingsCache cache;
};

TEST_F(HoldingsCacheTest, FetchesEachFundOnceWithItsReferer) {
  for (int round = 0; round < 3; ++round) {
    const FundHoldings& holdings = cache.holdings_of(endpoints, "990001");
    ASSERT_EQ(holdings.stocks.size(), 1u);
    EXPECT_EQ(holdings.stocks[0].secid, "1.600519");
    EXPECT_TRUE(cache.holdings_of(endpoints, "990003").stocks.empty());
  }
  std::vector<ServedRequest> requests = server.requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].target, "/FundArchivesDatas.aspx?type=jjcc&code=990001&topline=10");
  EXPECT_EQ(requests[0].header("Referer"), server.url("/ccmx_990001.html"));
  EXPECT_EQ(requests[1].header("Referer"), server.url("/ccmx_990003.html"));
}

TEST_F(HoldingsCacheTest, AFailedPageIsAskedForAgain) {
  EXPECT_TRUE(cache.holdings_of(endpoints, "990002").stocks.empty());
  EXPECT_TRUE(cache.holdings_of(endpoints, "990002").stocks.empty());
  EXPECT_TRUE(
      cache.holdings_of(Endpoints{.holdings = "http://127.0.0.1:1"}, "990001").stocks.empty());
  second_fund_answers = true;
  EXPECT_EQ(cache.holdings_of(endpoints, "990002").stocks.size(), 1u);
  EXPECT_EQ(cache.holdings_of(endpoints, "990002").stocks.size(), 1u);
  EXPECT_EQ(server.requests().size(), 3u);
}

}  // namespace
