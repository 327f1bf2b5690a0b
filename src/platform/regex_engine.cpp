#include "platform/regex_engine.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <algorithm>

namespace platform {
namespace {

// Upper bound on the engine's backtracking steps for one match attempt: far
// above what a sensible pattern needs over a page head, far below a hang.
constexpr uint32_t kMatchLimit = 1'000'000;

PCRE2_SPTR16 units(std::u16string_view text) { return reinterpret_cast<PCRE2_SPTR16>(text.data()); }

// Where a search that found an empty match at `at` goes on: one character on.
size_t after_character(std::u16string_view subject, size_t at) {
  bool pair = at + 1 < subject.size() && subject[at] >= 0xD800 && subject[at] < 0xDC00 &&
              subject[at + 1] >= 0xDC00 && subject[at + 1] < 0xE000;
  return at + (pair ? 2 : 1);
}

}  // namespace

RegexError regex_error_from_library_code(int code) {
  switch (code) {
    case 0:
      return RegexError::kNone;
    case PCRE2_ERROR_MATCHLIMIT:
    case PCRE2_ERROR_DEPTHLIMIT:
    case PCRE2_ERROR_HEAPLIMIT:
      return RegexError::kLimitReached;
    case PCRE2_ERROR_NOMEMORY:
    case PCRE2_ERROR_HEAP_FAILED:
      return RegexError::kNoMemory;
    default:
      // Compile errors are the positive codes; match errors are negative.
      return code > 0 ? RegexError::kSyntax : RegexError::kOther;
  }
}

const RegexMatch* RegexMatchCollection::item(int index) const {
  if (index < 0 || index >= count()) return nullptr;
  return &items[static_cast<size_t>(index)];
}

struct RegexEngine::Impl {
  bool ignore_case = false;
  bool multiline = false;
  bool global = false;
  std::u16string pattern;
  RegexError error = RegexError::kNone;

  // The compiled pattern for the current settings; rebuilt after a change.
  pcre2_code* code = nullptr;
  bool compiled = false;

  ~Impl() { drop_code(); }

  void drop_code() {
    pcre2_code_free(code);
    code = nullptr;
    compiled = false;
  }

  bool compile() {
    if (compiled) return code != nullptr;
    compiled = true;
    uint32_t options = PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_NEVER_BACKSLASH_C;
    if (ignore_case) options |= PCRE2_CASELESS;
    // Without multi-line, "$" is the end of the subject only, not also the
    // place before a final line feed.
    options |= multiline ? PCRE2_MULTILINE : PCRE2_DOLLAR_ENDONLY;
    pcre2_compile_context* context = pcre2_compile_context_create(nullptr);
    if (context == nullptr) {
      error = RegexError::kNoMemory;
      return false;
    }
    pcre2_set_newline(context, PCRE2_NEWLINE_LF);
    int error_code = 0;
    PCRE2_SIZE error_offset = 0;
    code =
        pcre2_compile(units(pattern), pattern.size(), options, &error_code, &error_offset, context);
    pcre2_compile_context_free(context);
    if (code == nullptr) error = regex_error_from_library_code(error_code);
    return code != nullptr;
  }

  // Every match (the first only unless global), or nothing on failure.
  std::optional<RegexMatchCollection> run(std::u16string_view subject) {
    error = RegexError::kNone;
    if (!compile()) return std::nullopt;
    pcre2_match_data* data = pcre2_match_data_create_from_pattern(code, nullptr);
    pcre2_match_context* context = pcre2_match_context_create(nullptr);
    std::optional<RegexMatchCollection> matches;
    if (data == nullptr || context == nullptr) {
      error = RegexError::kNoMemory;
    } else {
      pcre2_set_match_limit(context, kMatchLimit);
      matches = collect(subject, data, context);
    }
    pcre2_match_context_free(context);
    pcre2_match_data_free(data);
    return matches;
  }

  std::optional<RegexMatchCollection> collect(std::u16string_view subject, pcre2_match_data* data,
                                              pcre2_match_context* context) {
    uint32_t groups = 0;
    pcre2_pattern_info(code, PCRE2_INFO_CAPTURECOUNT, &groups);
    RegexMatchCollection matches;
    size_t offset = 0;
    while (offset <= subject.size()) {
      int rc = pcre2_match(code, units(subject), subject.size(), offset, 0, data, context);
      if (rc == PCRE2_ERROR_NOMATCH) break;
      if (rc < 0) {
        error = regex_error_from_library_code(rc);
        return std::nullopt;
      }
      const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data);
      size_t start = ovector[0];
      size_t end = std::max(ovector[0], ovector[1]);
      RegexMatch match{.value = std::u16string(subject.substr(start, end - start)),
                       .first_index = start};
      match.sub_matches.resize(groups);
      for (uint32_t g = 1; g <= groups && g < pcre2_get_ovector_count(data); ++g) {
        PCRE2_SIZE from = ovector[2 * g];
        PCRE2_SIZE to = ovector[2 * g + 1];
        if (from == PCRE2_UNSET || to < from) continue;
        match.sub_matches[g - 1] = std::u16string(subject.substr(from, to - from));
      }
      matches.items.push_back(std::move(match));
      if (!global) break;
      offset = end > start ? end : after_character(subject, end);
    }
    return matches;
  }
};

RegexEngine::RegexEngine() : impl_(std::make_unique<Impl>()) {}
RegexEngine::~RegexEngine() = default;

void RegexEngine::set_ignore_case(bool ignore_case) {
  impl_->ignore_case = ignore_case;
  impl_->drop_code();
}

void RegexEngine::set_multiline(bool multiline) {
  impl_->multiline = multiline;
  impl_->drop_code();
}

void RegexEngine::set_global(bool global) { impl_->global = global; }

void RegexEngine::set_pattern(std::u16string pattern) {
  impl_->pattern = std::move(pattern);
  impl_->drop_code();
}

const std::u16string& RegexEngine::pattern() const { return impl_->pattern; }

RegexError RegexEngine::last_error() const { return impl_->error; }

std::optional<RegexMatchCollection> RegexEngine::execute(std::u16string_view subject) {
  return impl_->run(subject);
}

namespace {

// Appends `replacement` for `match`, expanding its "$" forms.
void expand(std::u16string& out, std::u16string_view replacement, std::u16string_view subject,
            const RegexMatch& match) {
  auto digit = [&](size_t at) -> int {
    if (at >= replacement.size()) return -1;
    char16_t c = replacement[at];
    return c >= u'0' && c <= u'9' ? c - u'0' : -1;
  };
  auto append_group = [&](size_t group) {
    if (const auto& value = match.sub_matches[group - 1]) out.append(*value);
  };
  size_t groups = match.sub_matches.size();
  for (size_t i = 0; i < replacement.size(); ++i) {
    char16_t c = replacement[i];
    if (c != u'$' || i + 1 == replacement.size()) {
      out.push_back(c);
      continue;
    }
    char16_t next = replacement[i + 1];
    int first = digit(i + 1);
    int second = digit(i + 2);
    if (next == u'$') {
      out.push_back(u'$');
      ++i;
    } else if (next == u'&') {
      out.append(match.value);
      ++i;
    } else if (next == u'`') {
      out.append(subject.substr(0, match.first_index));
      ++i;
    } else if (next == u'\'') {
      out.append(subject.substr(match.first_index + match.value.size()));
      ++i;
    } else if (first >= 0 && second >= 0 && first * 10 + second >= 1 &&
               static_cast<size_t>(first * 10 + second) <= groups) {
      append_group(static_cast<size_t>(first * 10 + second));
      i += 2;
    } else if (first >= 1 && static_cast<size_t>(first) <= groups) {
      append_group(static_cast<size_t>(first));
      ++i;
    } else {
      out.push_back(c);  // not a form: the "$" stands for itself
    }
  }
}

}  // namespace

std::optional<std::u16string> RegexEngine::replace(std::u16string_view subject,
                                                   std::u16string_view replacement) {
  std::optional<RegexMatchCollection> matches = impl_->run(subject);
  if (!matches) return std::nullopt;
  std::u16string out;
  size_t done = 0;
  for (const RegexMatch& match : matches->items) {
    out.append(subject.substr(done, match.first_index - done));
    expand(out, replacement, subject, match);
    done = match.first_index + match.value.size();
  }
  out.append(subject.substr(done));
  return out;
}

}  // namespace platform
