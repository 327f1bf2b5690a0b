// The cookie rules: collecting the items of "Set-Cookie" reply lines and
// merging them with the cookies that were sent, so one cookie text can be
// carried from request to request. Cookie texts are items joined by "; ".
// Stateless; the cookie state lives in the caller's texts.
#pragma once

#include <vector>

#include "text/text.h"

// When `line` is a "Set-Cookie" header line, appends its item (attributes
// dropped, trimmed) and "; " to `reply_cookies`.
void collect_set_cookie(const Text& line, Text& reply_cookies);

// Merges: new items replace old ones of the same name, old ones the new text
// does not name follow, items valued "deleted" and repeats are dropped. Both
// texts are stored back trimmed; the result is also stored into `old_cookies`.
Text merge_cookies(Text& old_cookies, Text& new_cookies);

// The text before the first "=" (all of the item without one), trimmed.
Text cookie_name(const Text& item);

bool has_cookie_named(const std::vector<Text>& items, const Text& name);
