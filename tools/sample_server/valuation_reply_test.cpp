#include "sample_server/valuation_reply.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <string>

#include "sample_server/sample_server.h"

namespace sample {
namespace {

constexpr const char* kAllFields = "FCODE,SHORTNAME,GSZZL,GZTIME,GSZ,NAV,PDATE";

TEST(ValuationReply, WritesTheServicesFormat) {
  // Numbers in their shortest form, fields in an order that moves from fund
  // to fund, unknown codes left out, a fund without an estimate with nulls.
  EXPECT_EQ(valuation_reply("990002,123456,990006,990001", kAllFields),
            "{\"data\":["
            "{\"FCODE\":\"990002\",\"SHORTNAME\":\"示例稳健债券\",\"GSZZL\":0,"
            "\"GZTIME\":\"2026-12-11 14:30\",\"GSZ\":1.052,\"NAV\":1.052,\"PDATE\":\"2026-12-10\"},"
            "{\"SHORTNAME\":\"示例主动精选\",\"GSZZL\":null,\"GZTIME\":null,\"GSZ\":null,"
            "\"NAV\":1.445,\"PDATE\":\"2026-12-10\",\"FCODE\":\"990006\"},"
            "{\"GSZZL\":1.25,\"GZTIME\":\"2026-12-11 14:30\",\"GSZ\":1.2499,\"NAV\":1.2345,"
            "\"PDATE\":\"2026-12-10\",\"FCODE\":\"990001\",\"SHORTNAME\":\"示例成长混合A\"}"
            "],\"errorCode\":0,\"success\":true}");
}

TEST(ValuationReply, OnlyTheAskedFieldsOfTheAskedCodes) {
  struct Case {
    const char* codes;
    const char* fields;
    std::string data;  // the "data" array's contents
  } cases[] = {
      {"990003", "FCODE,GSZZL", "{\"FCODE\":\"990003\",\"GSZZL\":-0.52}"},
      {"990003", "GSZZL,UNKNOWN,fcode", "{\"GSZZL\":-0.52}"},  // names are case-sensitive
      {"990003", "", "{}"},
      {"", kAllFields, ""},
      {"99000,9900031,990003x", kAllFields, ""},  // only whole codes
      {"970150,970100", "FCODE,GSZ,GSZZL",
       "{\"FCODE\":\"970150\",\"GSZ\":1.005,\"GSZZL\":0.5},{\"GSZ\":1,\"GSZZL\":0,\"FCODE\":"
       "\"970100\"}"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(valuation_reply(c.codes, c.fields),
              "{\"data\":[" + c.data + "],\"errorCode\":0,\"success\":true}")
        << c.codes << " " << c.fields;
  }
}

TEST(ValuationReply, ServedOnItsPathAndFailsOnRequest) {
  SampleServer server;
  ASSERT_TRUE(server.start());
  httplib::Client client("127.0.0.1", server.http_port());
  client.set_url_encode(false);
  const std::string target =
      std::string("/mm/newCore/FundValuationLast?FCODES=990004&FIELDS=") + kAllFields;
  httplib::Result ok = client.Get(target);
  ASSERT_TRUE(ok);
  EXPECT_EQ(ok->status, 200);
  EXPECT_EQ(ok->get_header_value("Content-Type"), "application/json; charset=utf-8");
  EXPECT_EQ(ok->body, valuation_reply("990004", kAllFields));

  server.set_failure({.mode = FailureMode::kUnsuccessful, .target_prefix = "/mm/"});
  httplib::Result refused = client.Get(target);
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->status, 200);
  EXPECT_NE(refused->body.find("\"success\":false"), std::string::npos);
  EXPECT_NE(client.Get("/js/990004.js?rt=1")->body.find("990004"), std::string::npos);

  server.set_failure({.mode = FailureMode::kNotJson, .target_prefix = "/mm/"});
  httplib::Result page = client.Get(target);
  ASSERT_TRUE(page);
  EXPECT_EQ(page->status, 200);
  EXPECT_TRUE(page->body.starts_with("<html>"));
}

}  // namespace
}  // namespace sample
