#include "funddata/valuation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "funddata/batch_estimates.h"
#include "platform/testing/local_servers.h"
#include "text/gbk_literal.h"

namespace {

using testing_servers::LocalServer;
using testing_servers::Reply;
using testing_servers::ServedRequest;

constexpr const char* kFields = "&FIELDS=FCODE,SHORTNAME,GSZZL,GZTIME,GSZ,NAV,PDATE";

// Two replies of the service as captured.
const char* kIndexFund =
    "{\"data\":[{\"NAV\":0.55,\"GZTIME\":\"2026-07-22 "
    "10:09\",\"SHORTNAME\":\"招商中证白酒指数(LOF)A\","
    "\"FCODE\":\"161725\",\"PDATE\":\"2026-07-21\",\"GSZZL\":-0.36,\"GSZ\":0.548}],"
    "\"errorCode\":0,\"success\":true}";
const char* kActiveFund =
    "{\"data\":[{\"FCODE\":\"000001\",\"SHORTNAME\":\"华夏成长混合\",\"PDATE\":\"2026-07-21\","
    "\"NAV\":1.445,\"GSZ\":null,\"GSZZL\":null,\"GZTIME\":null}],\"errorCode\":0,\"success\":true}";

// A reply holding one fund "161725" whose fields are `members`.
std::string one_fund(const std::string& members) {
  return "{\"data\":[{\"FCODE\":\"161725\"" + members + "}],\"errorCode\":0,\"success\":true}";
}

TEST(Valuation, CapturedRepliesGiveTheTextsThePerFundServiceWrote) {
  auto index = read_valuation_reply(kIndexFund);
  ASSERT_TRUE(index);
  ASSERT_EQ(index->count("161725"), 1u);
  const FundValuation& v = index->at("161725");
  EXPECT_EQ(v.name, gbk("招商中证白酒指数(LOF)A"));
  EXPECT_EQ(v.gsz, "0.5480");
  EXPECT_EQ(v.gszzl, "-0.36");
  EXPECT_EQ(v.nav, "0.5500");
  EXPECT_EQ(v.gztime, "2026-07-22 10:09");
  EXPECT_EQ(v.pdate, "2026-07-21");

  auto active = read_valuation_reply(kActiveFund);
  ASSERT_TRUE(active);
  const FundValuation& a = active->at("000001");
  EXPECT_EQ(a.name, gbk("华夏成长混合"));
  EXPECT_EQ(a.gsz, "");
  EXPECT_EQ(a.gszzl, "");
  EXPECT_EQ(a.gztime, "");
  EXPECT_EQ(a.nav, "1.4450");
  EXPECT_EQ(a.pdate, "2026-07-21");
}

TEST(Valuation, EachValueKindBecomesItsText) {
  struct Case {
    std::string members;
    FundValuation expected;
  } cases[] = {
      {",\"GSZ\":1,\"GSZZL\":0,\"NAV\":12.5", {.gsz = "1.0000", .gszzl = "0.00", .nav = "12.5000"}},
      {",\"GSZ\":0.00004,\"GSZZL\":-0.004,\"NAV\":-0.0",
       {.gsz = "0.0000", .gszzl = "0.00", .nav = "0.0000"}},
      {",\"GSZ\":2.34567,\"GSZZL\":1.235,\"NAV\":1e-1",
       {.gsz = "2.3457", .gszzl = "1.24", .nav = "0.1000"}},
      {",\"GSZZL\":-12.3", {.gszzl = "-12.30"}},
      // Texts stay as they are, even where a number would be formatted.
      {",\"GSZ\":\"0.548\",\"GSZZL\":\" 1.2\",\"SHORTNAME\":\"null\"",
       {.name = "null", .gsz = "0.548", .gszzl = " 1.2"}},
      // null, "", "--", other kinds and missing fields are empty.
      {",\"GSZ\":null,\"GSZZL\":\"\",\"NAV\":\"--\",\"GZTIME\":true,\"PDATE\":[1]", {}},
      {",\"SHORTNAME\":{},\"gsz\":1.5,\"Gszzl\":1", {}},  // keys are case-sensitive
      {",\"GZTIME\":20260722", {.gztime = "20260722"}},
  };
  for (const Case& c : cases) {
    auto funds = read_valuation_reply(one_fund(c.members));
    ASSERT_TRUE(funds) << c.members;
    ASSERT_EQ(funds->count("161725"), 1u) << c.members;
    const FundValuation& v = funds->at("161725");
    EXPECT_EQ(v.name, c.expected.name) << c.members;
    EXPECT_EQ(v.gsz, c.expected.gsz) << c.members;
    EXPECT_EQ(v.gszzl, c.expected.gszzl) << c.members;
    EXPECT_EQ(v.nav, c.expected.nav) << c.members;
    EXPECT_EQ(v.gztime, c.expected.gztime) << c.members;
    EXPECT_EQ(v.pdate, c.expected.pdate) << c.members;
  }
}

TEST(Valuation, RefusedRepliesAndEmptyAnswers) {
  // A failed request: not JSON, or no "success" that is true.
  for (const char* body :
       {"", "<html>404</html>", "jsonp({\"success\":true})", "{\"data\":[],\"success\":false}",
        "{\"data\":[],\"errorCode\":0}", "{\"data\":[],\"success\":\"true\"}",
        "{\"data\":[],\"success\":1}", "[{\"success\":true}]", "{\"data\":[],\"success\":true"}) {
    EXPECT_FALSE(read_valuation_reply(body)) << body;
  }
  // An answer that knows nothing: records without a code are skipped.
  for (const char* body :
       {"{\"success\":true}", "{\"data\":null,\"success\":true}",
        "{\"data\":[{\"SHORTNAME\":\"x\"},{\"FCODE\":null},3],\"success\":true}"}) {
    auto funds = read_valuation_reply(body);
    ASSERT_TRUE(funds) << body;
    EXPECT_TRUE(funds->empty()) << body;
  }
}

TEST(Valuation, UrlListsTheCodesInOrderWithTheFixedFields) {
  EXPECT_EQ(valuation_url("http://h:1", {"161725", "000001"}),
            std::string("http://h:1/mm/newCore/FundValuationLast?FCODES=161725,000001") + kFields);
  // Bytes that would split the list or the query are escaped.
  EXPECT_EQ(
      valuation_url("http://h", {"1,2", "a&b=c", "x y", "\xBB\xF9"}),
      std::string("http://h/mm/newCore/FundValuationLast?FCODES=1%2C2,a%26b%3Dc,x%20y,%BB%F9") +
          kFields);
}

// A stand-in service: knows every code of the form "C" + digits and answers
// each with its number as the estimate; `fail` decides which requests fail
// and how.
class ValuationService {
 public:
  explicit ValuationService(std::function<Reply(const ServedRequest&)> fail = {})
      : server_([this](const ServedRequest& request) { return answer(request); }), fail_(fail) {}

  std::string base() const { return server_.url(""); }
  // The FCODES value of every request received, oldest first.
  std::vector<std::string> code_lists() const {
    std::vector<std::string> lists;
    for (const ServedRequest& r : server_.requests()) lists.push_back(codes_of(r.target));
    return lists;
  }

 private:
  static std::string codes_of(const std::string& target) {
    std::size_t start = target.find("FCODES=") + 7;
    return target.substr(start, target.find('&', start) - start);
  }

  Reply answer(const ServedRequest& request) {
    if (fail_) {
      Reply failed = fail_(request);
      if (failed.status != 0) return failed;
    }
    std::string data;
    std::string codes = codes_of(request.target);
    std::size_t start = 0;
    while (start <= codes.size()) {
      std::size_t comma = std::min(codes.find(',', start), codes.size());
      std::string code = codes.substr(start, comma - start);
      if (code.size() > 1 && code[0] == 'C') {
        if (!data.empty()) data += ',';
        data += "{\"FCODE\":\"" + code + "\",\"SHORTNAME\":\"n" + code +
                "\",\"GSZ\":" + code.substr(1) + "}";
      }
      start = comma + 1;
    }
    return {.body = "{\"data\":[" + data + "],\"errorCode\":0,\"success\":true}",
            .content_type = "application/json"};
  }

  LocalServer server_;
  std::function<Reply(const ServedRequest&)> fail_;
};

std::vector<Text> numbered_codes(int count) {
  std::vector<Text> codes;
  for (int i = 1; i <= count; ++i) codes.push_back("C" + std::to_string(i));
  return codes;
}

std::string joined(const std::vector<Text>& codes, std::size_t first, std::size_t last) {
  std::string list;
  for (std::size_t i = first; i < last; ++i) list += (i > first ? "," : "") + codes[i];
  return list;
}

TEST(Valuation, FetchAsksFiftyCodesPerRequestInOrder) {
  ValuationService service;
  Endpoints endpoints{.valuation = service.base()};
  std::vector<Text> codes = numbered_codes(120);
  auto funds = fetch_valuations(codes, endpoints);
  EXPECT_EQ(service.code_lists(),
            (std::vector<std::string>{joined(codes, 0, 50), joined(codes, 50, 100),
                                      joined(codes, 100, 120)}));
  ASSERT_EQ(funds.size(), 120u);
  EXPECT_EQ(funds.at("C120").gsz, "120.0000");
  EXPECT_EQ(funds.at("C1").name, "nC1");

  // Empty and repeated codes are not asked for; unknown codes are absent.
  ValuationService second;
  funds = fetch_valuations({"C7", "", "X1", "C7", "C8"}, {.valuation = second.base()});
  EXPECT_EQ(second.code_lists(), std::vector<std::string>{"C7,X1,C8"});
  EXPECT_EQ(funds.size(), 2u);
  EXPECT_EQ(funds.count("X1"), 0u);

  // No codes, no request.
  ValuationService third;
  EXPECT_TRUE(fetch_valuations({"", ""}, {.valuation = third.base()}).empty());
  EXPECT_TRUE(third.code_lists().empty());
}

TEST(Valuation, EstimatesFollowTheOrderOfTheCodes) {
  ValuationService service;
  HoldingsCache holdings;
  std::vector<FundEstimate> estimates =
      fetch_estimates({"C3", "X", "C1", "C3"}, {.valuation = service.base()}, holdings);
  ASSERT_EQ(estimates.size(), 4u);
  EXPECT_EQ(estimates[0].gsz, "3.0000");
  EXPECT_EQ(estimates[0].name, "nC3");
  EXPECT_EQ(estimates[1].name, "");
  EXPECT_EQ(estimates[1].gsz, "");
  EXPECT_EQ(estimates[2].gsz, "1.0000");
  EXPECT_EQ(estimates[3].gsz, "3.0000");
  EXPECT_FALSE(uses_per_fund_estimates({.valuation = service.base()}));
  EXPECT_TRUE(uses_per_fund_estimates({.fund_estimate = "http://h", .valuation = "http://v"}));
}

TEST(Valuation, AFailedRequestIsTriedOnceOnTheBackup) {
  struct Case {
    const char* what;
    Reply failure;
  } cases[] = {
      {"status 500", {.status = 500, .body = "{\"data\":[],\"success\":true}"}},
      {"status 404", {.status = 404, .body = "<html>not found</html>"}},
      {"not JSON", {.body = "<html>busy</html>"}},
      {"success false", {.body = "{\"data\":null,\"errorCode\":1,\"success\":false}"}},
  };
  for (const Case& c : cases) {
    // The first host fails every request for chunk two only.
    ValuationService first([&](const ServedRequest& r) {
      return r.target.find("FCODES=C51,") != std::string::npos ? c.failure : Reply{.status = 0};
    });
    ValuationService backup;
    std::vector<Text> codes = numbered_codes(101);
    auto funds =
        fetch_valuations(codes, {.valuation = first.base(), .valuation_backup = backup.base()});
    EXPECT_EQ(first.code_lists().size(), 3u) << c.what;
    EXPECT_EQ(backup.code_lists(), std::vector<std::string>{joined(codes, 50, 100)}) << c.what;
    EXPECT_EQ(funds.size(), 101u) << c.what;

    // Both failing: that chunk's codes are absent, and each host asked once.
    ValuationService failing_backup([&](const ServedRequest& r) {
      return r.target.find("FCODES=C51,") != std::string::npos ? c.failure : Reply{.status = 0};
    });
    funds = fetch_valuations(
        codes, {.valuation = first.base(), .valuation_backup = failing_backup.base()});
    EXPECT_EQ(failing_backup.code_lists(), std::vector<std::string>{joined(codes, 50, 100)})
        << c.what;
    EXPECT_EQ(funds.size(), 51u) << c.what;
    EXPECT_EQ(funds.count("C51"), 0u) << c.what;
    EXPECT_EQ(funds.count("C101"), 1u) << c.what;
  }
}

TEST(Valuation, UnreachableHostsGiveNothing) {
  std::string closed = "http://127.0.0.1:" + std::to_string(testing_servers::closed_port());
  ValuationService backup;
  auto funds = fetch_valuations({"C1"}, {.valuation = closed, .valuation_backup = backup.base()});
  EXPECT_EQ(funds.at("C1").gsz, "1.0000");
  EXPECT_TRUE(fetch_valuations({"C1"}, {.valuation = closed, .valuation_backup = closed}).empty());
  EXPECT_TRUE(fetch_valuations({"C1"}, {.valuation = closed}).empty());  // no backup host
}

TEST(Valuation, RecordsOfCodesNotAskedForAreIgnored) {
  ValuationService service([](const ServedRequest&) {
    return Reply{.body =
                     "{\"data\":[{\"FCODE\":\"C9\",\"SHORTNAME\":\"x\"},"
                     "{\"FCODE\":\"C1\",\"SHORTNAME\":\"a\"},"
                     "{\"FCODE\":\"C1\",\"SHORTNAME\":\"b\"}],\"success\":true}"};
  });
  auto funds = fetch_valuations({"C1"}, {.valuation = service.base()});
  ASSERT_EQ(funds.size(), 1u);
  EXPECT_EQ(funds.at("C1").name, "a");  // the first record of a code counts
}

}  // namespace
