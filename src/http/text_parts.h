// The text before or after a separator, as the header and cookie rules use
// them. Positions are 1-based; searches step over GBK characters whole.
// Stateless.
#pragma once

#include "text/text.h"

struct TextPartOptions {
  int start = 0;             // 0: the default search; see each function
  bool ignore_case = false;  // ASCII letters match regardless of case
};

// Start 0: the text before the first `separator`. A positive start begins
// the search at that 1-based position; a negative one searches backwards,
// ending that many bytes before the end. Empty when not found.
Text text_before(const Text& text, const Text& separator, TextPartOptions options = {});

// Start 0: the text after the last `separator`. A positive start searches
// backwards, ending that many bytes before the end; a negative one searches
// forwards from that 1-based position. Empty when not found.
Text text_after(const Text& text, const Text& separator, TextPartOptions options = {});
