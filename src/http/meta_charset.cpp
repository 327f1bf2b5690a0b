#include "http/meta_charset.h"

#include "platform/charset_decoder.h"
#include "platform/code_page.h"

namespace {

constexpr std::size_t kHeadLength = 1024;
constexpr const char* kCharsetPattern = "<meta.+?charset=[^\\w]?([-\\w]+)";

}  // namespace

MetaCharsetOutcome apply_meta_charset(RegexObject& regex, const Bytes& body, const Text& text) {
  MetaCharsetOutcome outcome{.text = text};
  if (!regex.search(kCharsetPattern, text.substr(0, kHeadLength))) return outcome;
  outcome.searched = true;
  Text charset = regex.submatch_text(1, 1);
  if (charset.empty() || charset == "gbk" || charset == "gb2312") return outcome;
  std::optional<std::u16string> decoded = platform::decode_charset(body, charset);
  if (!decoded) return outcome;
  Text converted = platform::wide_to_multibyte(*decoded, platform::kCodePageGbk);
  outcome.text = converted.substr(0, converted.find('\0'));
  return outcome;
}
