#include "funddata/estimate_quotes.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/testing/local_servers.h"

namespace {

using testing_servers::LocalServer;
using testing_servers::Reply;
using testing_servers::ServedRequest;

TEST(EstimateQuotes, ReadsChangeAndTimeBySecid) {
  const char reply[] =
      "{\"rc\":0,\"data\":{\"total\":5,\"diff\":["
      "{\"f2\":1689.0,\"f3\":-0.35,\"f12\":\"600519\",\"f13\":1,\"f14\":\"a\",\"f124\":1796970600},"
      "{\"f2\":\"-\",\"f3\":\"-\",\"f12\":\"600099\",\"f13\":1,\"f14\":\"b\",\"f124\":1796900000},"
      "{\"f2\":380.2,\"f3\":1.5,\"f12\":\"00700\",\"f13\":116,\"f14\":\"c\"},"
      "{\"f3\":2.0,\"f12\":\"000001\",\"f13\":\"-\"},"
      "{\"f3\":2.0,\"f13\":0}]}}";
  std::optional<QuoteTable> quotes = read_estimate_quotes(reply, 1234);
  ASSERT_TRUE(quotes.has_value());
  ASSERT_EQ(quotes->size(), 3u);  // a record without market or code is no stock
  EXPECT_EQ(quotes->at("1.600519").change_percent, -0.35);
  EXPECT_EQ(quotes->at("1.600519").updated_at, 1796970600);
  EXPECT_FALSE(quotes->at("1.600099").change_percent.has_value());
  EXPECT_EQ(quotes->at("116.00700").change_percent, 1.5);
  EXPECT_EQ(quotes->at("116.00700").updated_at, 1234);  // no f124: the reply's arrival

  for (const char* empty : {"{\"rc\":0,\"data\":null}", "{\"rc\":100}", "[]"}) {
    EXPECT_TRUE(read_estimate_quotes(empty, 0).value().empty()) << empty;
  }
  for (const char* broken : {"", "cb({\"data\":{}});", "<html>404</html>", "{\"data\":"}) {
    EXPECT_FALSE(read_estimate_quotes(broken, 0).has_value()) << broken;
  }
}

// A quote service that knows every secid and answers with its change.
Reply quote_service(const ServedRequest& request) {
  std::string list = request.target.substr(request.target.find("&secids=") + 8);
  std::string diff;
  while (!list.empty()) {
    std::size_t comma = list.find(',');
    std::string secid = list.substr(0, comma);
    std::size_t dot = secid.find('.');
    diff += (diff.empty() ? "" : ",") + std::string("{\"f3\":1.0,\"f12\":\"") +
            secid.substr(dot + 1) + "\",\"f13\":" + secid.substr(0, dot) + "}";
    list = comma == std::string::npos ? "" : list.substr(comma + 1);
  }
  return Reply{.body = "{\"data\":{\"diff\":[" + diff + "]}}"};
}

TEST(EstimateQuotes, OneRequestPer120DistinctSecids) {
  LocalServer server(quote_service);
  std::vector<Text> secids;
  for (int i = 0; i < 250; ++i) secids.push_back("1.6" + std::to_string(10000 + i));
  secids.push_back("1.610000");  // a repeat
  secids.push_back("");
  QuoteTable quotes = fetch_estimate_quotes({.stock_quote = server.url("")}, secids);
  EXPECT_EQ(quotes.size(), 250u);
  std::vector<ServedRequest> requests = server.requests();
  ASSERT_EQ(requests.size(), 3u);
  const std::string prefix =
      "/api/qt/ulist.np/get?fltt=2&invt=2&fields=f2,f3,f12,f13,f14,f124"
      "&ut=c41e08d3b7fa59e2d06c8b1743ea9f5d&secids=1.610000,1.610001,";
  EXPECT_TRUE(requests[0].target.starts_with(prefix)) << requests[0].target;
  const std::size_t counts[] = {120, 120, 10};
  for (std::size_t i = 0; i < 3; ++i) {
    const std::string& target = requests[i].target;
    std::string list = target.substr(target.find("&secids=") + 8);
    EXPECT_EQ(static_cast<std::size_t>(std::count(list.begin(), list.end(), ',')) + 1, counts[i]);
  }
}

TEST(EstimateQuotes, AFailedRequestLeavesItsStocksOut) {
  LocalServer server([](const ServedRequest& request) {
    if (request.target.find("secids=1.600001") != std::string::npos) return quote_service(request);
    return Reply{.status = 503,
                 .body = "{\"data\":{\"diff\":[{\"f3\":1,\"f12\":\"6\",\"f13\":1}]}}"};
  });
  std::vector<Text> secids = {"1.600001"};
  for (int i = 0; i < 130; ++i) secids.push_back("0." + std::to_string(300000 + i));
  QuoteTable quotes = fetch_estimate_quotes({.stock_quote = server.url("")}, secids);
  EXPECT_EQ(quotes.size(), 120u);  // the first request's; the second failed
  EXPECT_EQ(quotes.count("1.600001"), 1u);
  EXPECT_EQ(quotes.count("0.300125"), 0u);
  EXPECT_TRUE(fetch_estimate_quotes({.stock_quote = "http://127.0.0.1:1"}, {"1.600001"}).empty());
}

}  // namespace
