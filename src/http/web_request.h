// One complete HTTP or HTTPS exchange, returning the reply body as GBK text.
// Synchronous, on the user-interface thread; each call opens and closes its
// own session, connection and request, and lets the window process pending
// events after the network phase, so handlers may re-enter and nest calls.
#pragma once

#include <functional>

#include "http/bytes.h"
#include "text/text.h"

namespace platform {
class Transport;
}  // namespace platform

// The optional arguments, with their defaults. In/out and out arguments are
// caller variables given by pointer; a null pointer means the caller does not
// want that output (an in/out one then starts empty).
struct WebRequestOptions {
  int method = 0;                     // verb: 0 GET, 1 POST, 2 HEAD, 3 PUT, 4 OPTIONS,
                                      // 5 DELETE, 6 TRACE, 7 CONNECT; any other value GET
  Text post_text = {};                // request body as text, sent as it is
  Text* send_cookies = nullptr;       // in/out: cookies to send ("a=1; b=2" or a "Cookie:"
                                      // line); rewritten with the merged cookies
  Text* reply_cookies = nullptr;      // in/out: the reply's cookies are appended to it
  Text extra_headers = {};            // the caller's header lines, CR LF separated
  Text* reply_headers = nullptr;      // out: the raw reply header block
  bool no_redirect = false;           // true: redirects are not followed
  Text auth_user = {};                // basic authentication with the server
  Text auth_password = {};            //
  Text proxy = {};                    // "host:port"; empty: a direct connection
  Text proxy_user = {};               // basic authentication with the proxy
  Text proxy_password = {};           //
  int timeout_seconds = 0;            // limit of each network phase; below 1: 30 s
  Text* redirect_location = nullptr;  // out: the value of a "Location: " reply line
  Text* status_text = nullptr;        // out: "200 OK" and the like, or a numbered failure
  Bytes* reply_bytes = nullptr;       // out: the whole body as received
  bool auto_merge_cookies = true;     // merge *send_cookies with the reply's cookies
  bool add_default_headers = true;    // add the default lines the caller did not give
  Bytes post_bytes = {};              // request body as bytes; sent instead of post_text
  bool normalise_headers = true;      // raise the first letter of each header name part
};

// What web_request runs on; tests replace either part.
struct WebRequestEnvironment {
  platform::Transport* transport = nullptr;           // null: the process's libcurl transport
  std::function<void()> process_pending_events = {};  // empty: the window's own
};

// Fetches `url` and returns the body up to its first zero byte, re-decoded
// into GBK when an HTML head declares another charset. Empty when the
// request failed; *status_text then says why.
Text web_request(const Text& url, const WebRequestOptions& options = {});
Text web_request(const Text& url, const WebRequestOptions& options,
                 const WebRequestEnvironment& environment);
