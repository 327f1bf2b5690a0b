#include "funddata/web_text.h"

#include "http/bytes.h"
#include "http/meta_charset.h"
#include "http/regex_object.h"
#include "http/web_request.h"
#include "text/code_page_text.h"

namespace {

// Whether web_request's charset step re-decoded the reply `raw` (the body up
// to its first zero byte). The step is asked again with an empty body: it
// re-decodes exactly when it then gives the empty text.
bool charset_step_redecodes(const Text& raw) {
  if (raw.empty()) return false;
  RegexObject regex;
  return apply_meta_charset(regex, Bytes(), raw).text.empty();
}

}  // namespace

Text fetch_text(const Text& url, const Text& extra_headers) {
  Bytes body;
  Text reply = web_request(url, {.extra_headers = extra_headers, .reply_bytes = &body});
  if (reply.empty()) return reply;
  if (charset_step_redecodes(body.substr(0, body.find('\0')))) return reply;
  return utf8_to_ansi(reply);
}
