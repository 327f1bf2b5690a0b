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

bool is_success_status(const Text& status) {
  auto digit = [&](std::size_t i) { return status[i] >= '0' && status[i] <= '9'; };
  return status.size() >= 3 && status[0] == '2' && digit(1) && digit(2) &&
         (status.size() == 3 || status[3] == ' ');
}

FetchedText fetch_reply(const Text& url, const Text& extra_headers) {
  Bytes body;
  Text status;
  Text reply = web_request(
      url, {.extra_headers = extra_headers, .status_text = &status, .reply_bytes = &body});
  bool ok = is_success_status(status);
  if (reply.empty() || charset_step_redecodes(body.substr(0, body.find('\0')))) {
    return {.text = reply, .ok = ok};
  }
  return {.text = utf8_to_ansi(reply), .ok = ok};
}

Text fetch_text(const Text& url, const Text& extra_headers) {
  return fetch_reply(url, extra_headers).text;
}
