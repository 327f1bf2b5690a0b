// The request header block: the caller's lines, the default lines the
// caller did not give, normalised names, and the cookies to send. Blocks are
// GBK texts of lines separated by CR LF. Stateless.
#pragma once

#include "text/text.h"

struct HeaderBlockOptions {
  Text extra_headers = {};          // the caller's lines, CR LF separated
  int method = 0;                   // verb index; 1 (POST) adds the form content type
  Text send_cookies = {};           // name=value items, or a whole "Cookie:" line
  bool add_default_headers = true;  // add the default lines the caller did not give
  bool normalise_headers = true;    // raise the first letter of each name part
};

Text build_header_block(const HeaderBlockOptions& options);

// Each line's name with the first letter of every "-" part raised; lines
// without a colon dropped; no CR LF after the last line.
Text normalise_header_names(const Text& block);

// `text` with its first byte upper-cased when it is a to z.
Text capitalise_first(const Text& text);

// The value of the first line that begins with `name` (letter case kept):
// the text after the last "name: " of that line; empty when no line does.
Text header_value(const Text& block, const Text& name);
