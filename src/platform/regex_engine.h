// The regular-expression engine, in the role of the system's scriptable
// regular-expression object: IgnoreCase, Multiline, Global and Pattern
// settings, Execute giving a match collection, and Replace. Works on UTF-16
// text; "\w" is ASCII, "." never matches a line feed, and a match limit makes
// a runaway pattern fail instead of hanging. One engine per thread of use.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Why the last Execute or Replace gave nothing.
enum class RegexError {
  kNone,          // it ran
  kSyntax,        // the pattern was rejected
  kLimitReached,  // the match, depth or heap limit was reached
  kNoMemory,      // the engine could not get memory
  kOther,         // any other failure of the engine
};

// Maps an error code of the underlying library to ours.
RegexError regex_error_from_library_code(int code);

struct RegexMatch {
  std::u16string value;    // Value: the text of the whole match
  size_t first_index = 0;  // FirstIndex: where it starts in the subject, in code units
  // SubMatches: one entry per capture group; empty when the group took no part.
  std::vector<std::optional<std::u16string>> sub_matches = {};
};

struct RegexMatchCollection {
  std::vector<RegexMatch> items;

  int count() const { return static_cast<int>(items.size()); }
  // Item `index`, counted from 0; nullptr when there is no such match.
  const RegexMatch* item(int index) const;
};

class RegexEngine {
 public:
  RegexEngine();
  ~RegexEngine();
  RegexEngine(const RegexEngine&) = delete;
  RegexEngine& operator=(const RegexEngine&) = delete;

  void set_ignore_case(bool ignore_case);  // default false
  void set_multiline(bool multiline);      // "^" and "$" at every line; default false
  void set_global(bool global);            // every match, not only the first; default false
  void set_pattern(std::u16string pattern);
  const std::u16string& pattern() const;

  // Runs the pattern over `subject`. Nothing when the pattern is rejected or
  // the engine fails; last_error() says why.
  std::optional<RegexMatchCollection> execute(std::u16string_view subject);

  // `subject` with its matches (the first only, unless global) replaced by
  // `replacement`, in which "$1".."$99" stand for a capture group, "$&" for
  // the match, "$`" and "$'" for the text before and after it and "$$" for
  // "$". Nothing on failure, as for execute().
  std::optional<std::u16string> replace(std::u16string_view subject,
                                        std::u16string_view replacement);

  RegexError last_error() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
