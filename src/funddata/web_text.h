// Fetches a fund-data reply as GBK text, converted from UTF-8 exactly once:
// web_request already re-decodes a page whose head declares a charset, and
// such a text must not be converted a second time. Synchronous on the
// user-interface thread; the request lets pending window events run.
#pragma once

#include "text/text.h"

struct FetchedText {
  Text text;        // empty when the request failed
  bool ok = false;  // a reply with a 2xx status arrived
};

// True for a web_request status text of a 2xx reply ("200 OK"); false for
// other statuses and for its numbered failures.
bool is_success_status(const Text& status_text);

// GET `url` with the header lines `extra_headers` (CR LF separated). A reply
// the charset step did not re-decode is read as UTF-8; bytes that are not
// UTF-8 become "?".
FetchedText fetch_reply(const Text& url, const Text& extra_headers = {});

// The text of fetch_reply, whatever the status.
Text fetch_text(const Text& url, const Text& extra_headers = {});
