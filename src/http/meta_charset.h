// The charset step of a reply: when the head of an HTML page declares a
// charset in a meta tag, the whole body is decoded from that charset into
// GBK. Uses the caller's RegexObject; holds nothing.
#pragma once

#include "http/bytes.h"
#include "http/regex_object.h"
#include "text/text.h"

struct MetaCharsetOutcome {
  Text text;              // the reply text, re-decoded or as it was
  bool searched = false;  // the charset search could run
};

// `body` is every byte of the reply, `text` the body up to its first zero
// byte. Only the first 1024 bytes of `text` are searched. A page declaring
// "gbk" or "gb2312" (exactly so), no declaration, or a charset the decoder
// does not know leaves the text unchanged.
MetaCharsetOutcome apply_meta_charset(RegexObject& regex, const Bytes& body, const Text& text);
