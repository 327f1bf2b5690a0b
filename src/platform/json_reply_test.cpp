#include "platform/json_reply.h"

#include <gtest/gtest.h>

#include <cmath>

namespace platform {
namespace {

using Kind = JsonValue::Kind;

TEST(JsonReply, ScalarsKeepTheirKind) {
  struct Case {
    std::string json;
    Kind kind;
    double number = 0;
    std::string text = {};
    bool is_true = false;
  } cases[] = {
      {"null", Kind::kNull},
      {" true ", Kind::kBool, 0, "", true},
      {"false", Kind::kBool},
      {"0.548", Kind::kNumber, 0.548},
      {"-0.36", Kind::kNumber, -0.36},
      {"12", Kind::kNumber, 12},
      {"1e-3", Kind::kNumber, 0.001},
      {"\"\"", Kind::kString},
      {"\"0.548\"", Kind::kString, 0, "0.548"},                      // a number written as text
      {"\"null\"", Kind::kString, 0, "null"},                        // and null written as text
      {"\"\\u57fa\\u91d1\"", Kind::kString, 0, "\xBB\xF9\xBD\xF0"},  // escapes, to GBK
      {"\"\xE5\x9F\xBA\xE9\x87\x91\"", Kind::kString, 0, "\xBB\xF9\xBD\xF0"},
      {"\"\xF0\x9F\x98\x80\"", Kind::kString, 0, "?"},  // no GBK form
      {"\"a\\\"b\\\\c\\/\"", Kind::kString, 0, "a\"b\\c/"},
  };
  for (const Case& c : cases) {
    std::optional<JsonValue> value = parse_json(c.json);
    ASSERT_TRUE(value) << c.json;
    EXPECT_EQ(value->kind(), c.kind) << c.json;
    EXPECT_DOUBLE_EQ(value->as_number(), c.number) << c.json;
    EXPECT_EQ(value->as_text(), c.text) << c.json;
    EXPECT_EQ(value->is_true(), c.is_true) << c.json;
    EXPECT_EQ(value->is_null(), c.kind == Kind::kNull) << c.json;
  }
}

TEST(JsonReply, ObjectsAndArraysNest) {
  std::optional<JsonValue> reply = parse_json(
      "{\"data\":[{\"NAV\":0.55,\"FCODE\":\"161725\",\"GSZ\":null},{}],"
      "\"errorCode\":0,\"success\":true}");
  ASSERT_TRUE(reply);
  ASSERT_EQ(reply->kind(), Kind::kObject);
  EXPECT_EQ(reply->members().size(), 3u);
  ASSERT_NE(reply->member("success"), nullptr);
  EXPECT_TRUE(reply->member("success")->is_true());
  EXPECT_EQ(reply->member("errorCode")->kind(), Kind::kNumber);
  EXPECT_EQ(reply->member("missing"), nullptr);
  EXPECT_EQ(reply->member("Success"), nullptr);  // keys are case-sensitive

  const JsonValue* data = reply->member("data");
  ASSERT_NE(data, nullptr);
  ASSERT_EQ(data->items().size(), 2u);
  const JsonValue& fund = data->items()[0];
  EXPECT_DOUBLE_EQ(fund.member("NAV")->as_number(), 0.55);
  EXPECT_EQ(fund.member("FCODE")->as_text(), "161725");
  ASSERT_NE(fund.member("GSZ"), nullptr);  // present, and null
  EXPECT_TRUE(fund.member("GSZ")->is_null());
  EXPECT_TRUE(data->items()[1].members().empty());

  // Reading a member of something that is no object finds nothing.
  EXPECT_EQ(data->member("NAV"), nullptr);
  EXPECT_TRUE(fund.member("FCODE")->items().empty());
}

TEST(JsonReply, RepeatedKeyKeepsItsLastValue) {
  std::optional<JsonValue> value = parse_json("{\"a\":1,\"a\":2}");
  ASSERT_TRUE(value);
  ASSERT_NE(value->member("a"), nullptr);
  EXPECT_EQ(value->member("a")->as_number(), 2);
  EXPECT_EQ(value->members().size(), 1u);
}

TEST(JsonReply, AnythingButOneValidValueIsRefused) {
  const std::string cases[] = {
      "",
      "   ",
      "jsonpgz({\"a\":1});",  // JSONP wrapper
      "{\"a\":1",             // cut short
      "{\"a\":1}}",           // trailing text
      "{\"a\":1} {\"b\":2}",  // two values
      "1,2",                  // two values, as a wrapped array would read them
      "]",
      "1],[2",
      "{'a':1}",     // single quotes
      "{\"a\":01}",  // leading zero
      "{\"a\":NaN}",
      "{\"a\":\"\xFF\"}",  // invalid UTF-8
      "<html><body>404</body></html>",
      std::string(2000, '['),  // deeper than the parser allows
  };
  for (const std::string& json : cases) {
    EXPECT_FALSE(parse_json(json)) << json;
  }
}

}  // namespace
}  // namespace platform
