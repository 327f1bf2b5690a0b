// Cutting values out of replies by the marker texts that stand around them.
// Positions are 1-based byte positions; the marker search steps over GBK
// double-byte characters whole. Stateless; call on the user-interface thread
// (all_texts_between lets the window process its pending events).
#pragma once

#include <functional>
#include <vector>

#include "text/text.h"

struct TextBetweenOptions {
  int start = 1;             // 1-based byte position where the search starts
  bool ignore_case = false;  // ASCII letters match regardless of case
};

// The text between the first `left` found from `start` and the next `right`
// after it; empty when either is missing. In both markers "#引号" stands for
// one double quote.
Text text_between(const Text& text, const Text& left, const Text& right,
                  TextBetweenOptions options = {});

struct AllTextsBetweenOptions {
  bool ignore_case = false;    // ASCII letters match regardless of case
  int max_length = 0;          // keep items shorter than this many bytes; 0 = keep all
  Text prefix = {};            // put in front of each value
  Text suffix = {};            // put behind each value
  bool include_left = false;   // put the left marker in front of the item
  bool include_right = false;  // put the right marker behind the item
  int start = 1;               // 1-based byte position where the search starts
  std::function<void()> process_events = {};  // called after each value found; empty = none
};

// Empties `results`, then appends every value between `left` and the next
// `right`. Each search for `left` starts just after the previous left marker,
// so values overlap when `left` occurs inside a value. The markers are used
// as given. An empty `left` gives an empty list. Returns results.size().
int all_texts_between(const Text& text, const Text& left, const Text& right,
                      std::vector<Text>& results, const AllTextsBetweenOptions& options = {});
