#include "http/regex_object.h"

#include <string_view>

#include "platform/code_page.h"
#include "platform/component_library.h"
#include "platform/regex_engine.h"
#include "text/quote_placeholder.h"
#include "text/text_view.h"

namespace {

std::u16string to_engine(std::string_view text) {
  return platform::multibyte_to_wide(text, platform::kCodePageGbk);
}

Text from_engine(std::u16string_view units) {
  return platform::wide_to_multibyte(units, platform::kCodePageGbk);
}

}  // namespace

RegexObject::RegexObject() { platform::initialise_component_library(); }

RegexObject::~RegexObject() {
  clear();
  platform::release_component_library();
}

void RegexObject::clear() {
  matches_.reset();
  engine_.reset();
  subject_.clear();
}

bool RegexObject::search(const Text& pattern, const Text& subject, const SearchOptions& options) {
  clear();
  auto engine = std::make_unique<platform::RegexEngine>();
  engine->set_ignore_case(!options.case_sensitive);
  engine->set_multiline(options.multi_line);
  engine->set_global(options.global_match);
  Text written(text_view(pattern));
  if (options.quote_placeholder) written = replace_quote_placeholder(written);
  engine->set_pattern(to_engine(written));
  Text kept(text_view(subject));
  std::optional<platform::RegexMatchCollection> matches = engine->execute(to_engine(kept));
  if (!matches) return false;
  engine_ = std::move(engine);
  matches_ = std::make_unique<platform::RegexMatchCollection>(std::move(*matches));
  subject_ = std::move(kept);
  return true;
}

bool RegexObject::search(const Text& pattern, const Text& subject) {
  return search(pattern, subject, SearchOptions{});
}

Text RegexObject::pattern_text() const {
  return engine_ ? from_engine(engine_->pattern()) : Text();
}

Text RegexObject::replace_matches(const Text& replacement) const {
  if (!engine_) return Text();
  std::optional<std::u16string> replaced =
      engine_->replace(to_engine(subject_), to_engine(text_view(replacement)));
  return replaced ? from_engine(*replaced) : Text();
}

int RegexObject::match_count() const { return matches_ ? matches_->count() : 0; }

Text RegexObject::match_text(int n) const {
  const platform::RegexMatch* match = matches_ ? matches_->item(n - 1) : nullptr;
  return match ? from_engine(match->value) : Text();
}

Text RegexObject::submatch_text(int n, int k) const {
  const platform::RegexMatch* match = matches_ ? matches_->item(n - 1) : nullptr;
  if (match == nullptr || k < 1 || static_cast<size_t>(k) > match->sub_matches.size()) {
    return Text();
  }
  const auto& group = match->sub_matches[static_cast<size_t>(k) - 1];
  return group ? from_engine(*group) : Text();
}

int RegexObject::submatch_count() const {
  const platform::RegexMatch* match = matches_ ? matches_->item(0) : nullptr;
  return match ? static_cast<int>(match->sub_matches.size()) : 0;
}
