#include "text/gbk_literal.h"

#include "platform/code_page.h"

Text gbk(std::string_view utf8_literal) {
  return platform::wide_to_multibyte(
      platform::multibyte_to_wide(utf8_literal, platform::kCodePageUtf8), platform::kCodePageGbk);
}
