#include "http/meta_charset.h"

#include <gtest/gtest.h>

#include "platform/component_library.h"

namespace {

const Text kJiJinUtf8 = "\xE5\x9F\xBA\xE9\x87\x91";
const Text kJiJinGbk = "\xBB\xF9\xBD\xF0";

Text decode(const Bytes& body, bool* searched = nullptr) {
  RegexObject regex;
  MetaCharsetOutcome outcome = apply_meta_charset(regex, body, body.substr(0, body.find('\0')));
  if (searched) *searched = outcome.searched;
  return outcome.text;
}

TEST(MetaCharset, RedecodesPagesThatDeclareAForeignCharset) {
  struct Case {
    const char* what;
    Bytes body;
    Text text;
  } cases[] = {
      {"utf-8 re-decoded",
       "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">" +
           kJiJinUtf8,
       "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">" +
           kJiJinGbk},
      {"quoted name, capitals in the tag", "<META CHARSET=\"UTF-8\">" + kJiJinUtf8,
       "<META CHARSET=\"UTF-8\">" + kJiJinGbk},
      {"gb2312 left alone", "<meta charset=gb2312>" + kJiJinUtf8,
       "<meta charset=gb2312>" + kJiJinUtf8},
      {"gbk left alone", "<meta charset='gbk'>" + kJiJinUtf8, "<meta charset='gbk'>" + kJiJinUtf8},
      {"GB2312 in capitals decoded to the same text", "<meta charset=GB2312>" + kJiJinGbk,
       "<meta charset=GB2312>" + kJiJinGbk},
      {"no tag", "jsonpgz({\"name\":\"" + kJiJinUtf8 + "\"});",
       "jsonpgz({\"name\":\"" + kJiJinUtf8 + "\"});"},
      {"unknown charset", "<meta charset=x-unheard-of>" + kJiJinUtf8,
       "<meta charset=x-unheard-of>" + kJiJinUtf8},
      {"declaration after byte 1024", Text(1024, ' ') + "<meta charset=utf-8>" + kJiJinUtf8,
       Text(1024, ' ') + "<meta charset=utf-8>" + kJiJinUtf8},
      {"declaration just inside byte 1024",
       Text(1000, ' ') + "<meta charset=utf-8>" + kJiJinUtf8 + Text(10, 'x'),
       Text(1000, ' ') + "<meta charset=utf-8>" + kJiJinGbk + Text(10, 'x')},
  };
  for (const Case& c : cases) EXPECT_EQ(decode(c.body), c.text) << c.what;
}

TEST(MetaCharset, DecodesTheWholeBodyButTextEndsAtAZeroByte) {
  Bytes body = "<meta charset=utf-8>" + kJiJinUtf8 + Bytes("\0tail", 5);
  EXPECT_EQ(decode(body), "<meta charset=utf-8>" + kJiJinGbk);
  // The search also sees only the text: a tag after a zero byte is ignored.
  Bytes hidden = Bytes("x\0<meta charset=utf-8>", 22) + kJiJinUtf8;
  bool searched = false;
  EXPECT_EQ(decode(hidden, &searched), "x");
  EXPECT_TRUE(searched);
}

}  // namespace
