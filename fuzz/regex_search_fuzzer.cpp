// Runs arbitrary patterns over arbitrary subjects with arbitrary options and
// replacements, reading every result. A pattern may be rejected or stopped by
// the match limit, but nothing may crash, hang or leak, and an object that
// gave false must hold nothing.

#include "fuzz/fuzz_input.h"
#include "http/regex_object.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  uint8_t flags = input.byte();
  Text pattern = input.text(64);
  Text replacement = input.text(16);
  Text subject = input.rest();

  RegexObject regex;
  bool ran = regex.search(pattern, subject,
                          {.case_sensitive = (flags & 1) != 0,
                           .multi_line = (flags & 2) != 0,
                           .global_match = (flags & 4) != 0,
                           .quote_placeholder = (flags & 8) != 0});
  int count = regex.match_count();
  int groups = regex.submatch_count();
  if (!ran) {
    check(count == 0 && groups == 0 && regex.pattern_text().empty() &&
          regex.replace_matches(replacement).empty());
    return 0;
  }
  check(count >= 0 && count <= static_cast<int>(subject.size()) + 1);
  for (int n = 0; n <= count + 1 && n < 8; ++n) {
    regex.match_text(n);
    for (int k = 0; k <= groups + 1 && k < 8; ++k) regex.submatch_text(n, k);
  }
  Text replaced = regex.replace_matches(replacement);
  if (count == 0) check(replaced.size() <= subject.size());
  return 0;
}
