// Decodes bytes in a charset that a page names (utf-8, GB2312, big5, ...) into
// UTF-16, the role a text stream object plays on Windows. Stateless; safe
// from any thread.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Decodes all of `bytes` from `charset`. A byte sequence the charset cannot
// read becomes U+FFFD. Returns nothing when the charset name is unknown.
std::optional<std::u16string> decode_charset(std::string_view bytes, std::string_view charset);

}  // namespace platform
