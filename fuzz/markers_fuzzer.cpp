// Cuts values out of arbitrary bytes with arbitrary markers and options, and
// checks what must hold whatever the input: values come from the text, the
// list matches the count, items respect the maximum length, the loop ends,
// and the first value agrees with text_between.

#include "fuzz/fuzz_input.h"
#include "text/markers.h"
#include "text/quote_placeholder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  uint8_t flags = input.byte();
  int start = static_cast<int8_t>(input.byte());
  int max_length = input.byte() % 16;
  Text left = input.text(8);
  Text right = input.text(8);
  Text prefix = input.text(4);
  Text suffix = input.text(4);
  Text text = input.rest();
  bool ignore_case = flags & 1;

  Text value = text_between(text, left, right, {.start = start, .ignore_case = ignore_case});
  check(value.size() <= text.size());
  if (!value.empty()) check(text.find(value) != Text::npos);

  std::vector<Text> results = {"stale"};
  size_t events = 0;
  int count = all_texts_between(text, left, right, results,
                                {.ignore_case = ignore_case,
                                 .max_length = (flags & 2) ? max_length : 0,
                                 .prefix = prefix,
                                 .suffix = suffix,
                                 .include_left = (flags & 4) != 0,
                                 .include_right = (flags & 8) != 0,
                                 .start = start,
                                 .process_events = [&] { ++events; }});
  check(count == static_cast<int>(results.size()));
  check(events >= results.size());
  check(events <= text.size());  // one value per left marker found
  for (const Text& item : results) {
    if (flags & 2 && max_length > 0) check(item.size() < static_cast<size_t>(max_length));
  }

  // Without affixes, limits or placeholders the first value is text_between's.
  std::vector<Text> plain;
  bool plain_markers = replace_quote_placeholder(left) == left &&
                       replace_quote_placeholder(right) == right && left.find('\0') == Text::npos &&
                       right.find('\0') == Text::npos;
  if (!left.empty() && plain_markers) {
    int found =
        all_texts_between(text, left, right, plain, {.ignore_case = ignore_case, .start = start});
    check(found == 0 ? value.empty() : plain.front() == value);
  }
  return 0;
}
