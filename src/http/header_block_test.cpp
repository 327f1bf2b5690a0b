#include "http/header_block.h"

#include <gtest/gtest.h>

namespace {

const Text kUserAgent =
    "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)";
const Text kDefaults = kUserAgent +
                       "\r\nAccept: text/html, application/xhtml+xml, */*"
                       "\r\nAccept-Encoding: gbk, GB2312"
                       "\r\nAccept-Language: zh-cn"
                       "\r\nCache-Control: no-cache";

TEST(HeaderBlock, BuildsFromCallerLinesDefaultsAndCookies) {
  struct Case {
    const char* what;
    HeaderBlockOptions options;
    Text block;
  } cases[] = {
      {"defaults only", {}, kDefaults},
      {"form type for POST only",
       {.method = 1},
       kUserAgent +
           "\r\nAccept: text/html, application/xhtml+xml, */*"
           "\r\nAccept-Encoding: gbk, GB2312\r\nAccept-Language: zh-cn"
           "\r\nContent-Type: application/x-www-form-urlencoded\r\nCache-Control: no-cache"},
      {"no form type for PUT", {.method = 3}, kDefaults},
      {"caller's header wins whatever its case",
       {.extra_headers = "user-agent: X"},
       "User-Agent: X\r\nAccept: text/html, application/xhtml+xml, */*"
       "\r\nAccept-Encoding: gbk, GB2312\r\nAccept-Language: zh-cn\r\nCache-Control: no-cache"},
      {"a probe inside another value suppresses its default",
       {.extra_headers = "X-Note: accept-language: none", .add_default_headers = true},
       "X-Note: accept-language: none\r\n" + kUserAgent +
           "\r\nAccept: text/html, application/xhtml+xml, */*"
           "\r\nAccept-Encoding: gbk, GB2312\r\nCache-Control: no-cache"},
      {"line without a colon dropped",
       {.extra_headers = "garbage\r\nx-a: 1", .add_default_headers = false},
       "X-A: 1"},
      {"keep-alive removed when defaults follow",
       {.extra_headers = "connection: keep-alive"},
       kDefaults},
      {"other Connection values stay",
       {.extra_headers = "Connection: close"},
       "Connection: close\r\n" + kDefaults},
      {"a keep-alive line ending the block stays",
       {.extra_headers = "Connection: keep-alive", .add_default_headers = false},
       "Connection: keep-alive"},
      {"without normalisation names keep their case",
       {.extra_headers = "x-a: 1", .add_default_headers = false, .normalise_headers = false},
       "x-a: 1\r\n"},
      {"cookies appended as a Cookie line",
       {.send_cookies = "a=1"},
       kDefaults + "\r\nCookie: a=1\r\n"},
      {"a cookie text holding its own line",
       {.send_cookies = "cookie: a=1", .add_default_headers = false},
       "\r\ncookie: a=1\r\n"},
      {"a caller's Cookie line wins over send_cookies",
       {.extra_headers = "Cookie: z=9", .send_cookies = "a=1", .add_default_headers = false},
       "Cookie: z=9"},
      {"nothing at all", {.add_default_headers = false}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(build_header_block(c.options), c.block) << c.what;
}

TEST(HeaderBlock, NormalisesNamesAndFindsValues) {
  EXPECT_EQ(normalise_header_names("content-TYPE: a\r\nx-forwarded-for:b\r\n\r\nnone\r\nA-: c"),
            "Content-TYPE: a\r\nX-Forwarded-For:b\r\nA-: c");
  EXPECT_EQ(normalise_header_names(""), "");
  // A "-" walked over as the second byte of a double-byte character starts
  // no part.
  EXPECT_EQ(normalise_header_names("x-\x81-b: 1\r\n\x81-c-d: 2"), "X-\x81-b: 1\r\n\x81-c-D: 2");
  EXPECT_EQ(capitalise_first("abc"), "Abc");
  EXPECT_EQ(capitalise_first("1bc"), "1bc");
  EXPECT_EQ(capitalise_first("\xE1"
                             "bc"),
            "\xE1"
            "bc");
  EXPECT_EQ(capitalise_first(""), "");

  Text block = "Connection-Id: 7\r\nConnection: keep-alive\r\nconnection: close";
  EXPECT_EQ(header_value(block, "Connection"),
            "");  // the first line starting so has no "Connection: "
  EXPECT_EQ(header_value("Host: a\r\nConnection: close", "Connection"), "close");
  EXPECT_EQ(header_value("connection: close", "Connection"), "");
  EXPECT_EQ(header_value("", "Connection"), "");
}

}  // namespace
