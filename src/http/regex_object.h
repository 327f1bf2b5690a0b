// Regular-expression search and replace over GBK text. Each search makes a
// fresh engine and keeps its matches and subject until the next search or the
// end of the object. Every object initialises the component library once when
// made and releases it once when it ends. User-interface thread only.
#pragma once

#include <memory>

#include "text/text.h"

namespace platform {
class RegexEngine;
struct RegexMatchCollection;
}  // namespace platform

class RegexObject {
 public:
  RegexObject();
  ~RegexObject();
  RegexObject(const RegexObject&) = delete;
  RegexObject& operator=(const RegexObject&) = delete;

  struct SearchOptions {
    bool case_sensitive = false;     // letter case must match; by default it is ignored
    bool multi_line = true;          // "^" and "$" match at every line
    bool global_match = true;        // find every match, not only the first
    bool quote_placeholder = false;  // "#引号" in the pattern stands for a double quote
  };

  // Searches `subject` for `pattern`. True when the pattern was accepted and
  // ran, even if it matched nowhere; false leaves the object empty.
  bool search(const Text& pattern, const Text& subject, const SearchOptions& options);
  // The same with every option at its default. (A defaulted argument cannot
  // name SearchOptions{} inside the class that declares it.)
  bool search(const Text& pattern, const Text& subject);

  // The pattern of the last search; empty before one.
  Text pattern_text() const;
  // The subject of the last search with its matches (every one when global)
  // replaced; "$1", "$&", "$`", "$'" and "$$" are expanded. Empty before a
  // search.
  Text replace_matches(const Text& replacement) const;
  int match_count() const;
  // Match `n`, counted from 1; empty when there is none.
  Text match_text(int n) const;
  // Group `k` of match `n`, both from 1; empty when either is missing or the
  // group took no part in the match.
  Text submatch_text(int n, int k) const;
  // The number of capture groups in the first match; 0 when nothing matched.
  int submatch_count() const;

 private:
  void clear();

  std::unique_ptr<platform::RegexEngine> engine_;
  std::unique_ptr<platform::RegexMatchCollection> matches_;
  Text subject_;
};
