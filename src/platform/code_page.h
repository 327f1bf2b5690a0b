// Code-page conversion between multibyte text (GBK, UTF-8) and UTF-16, the
// role the system's MultiByteToWideChar and WideCharToMultiByte play on
// Windows. Stateless and safe to call from any thread.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Code pages by their Windows numbers. 0 is the system ANSI code page, which
// for this program is always GBK.
inline constexpr int kCodePageAnsi = 0;
inline constexpr int kCodePageGbk = 936;
inline constexpr int kCodePageUtf8 = 65001;

// Converts all of `bytes` (zero bytes included) from `code_page` to UTF-16.
// Each byte sequence that is not valid in the code page becomes U+FFFD.
std::u16string multibyte_to_wide(std::string_view bytes, int code_page);

struct WideToMultibyteOptions {
  // Convert a base character followed by combining marks as the precomposed
  // character where one exists (the WC_COMPOSITECHECK flag).
  bool composite_check = false;
};

// Converts all of `units` from UTF-16 to `code_page`. A character with no
// form in the code page (an unpaired surrogate included) becomes "?".
std::string wide_to_multibyte(std::u16string_view units, int code_page,
                              WideToMultibyteOptions options = {});

}  // namespace platform
