// The quote placeholder: callers write "#引号" for a double quote in marker
// and pattern texts, so that a quote needs no escaping. Stateless.
#pragma once

#include <string_view>

#include "text/text.h"

// `text` with every "#引号" (GBK bytes, letter case exact) replaced by '"'.
Text replace_quote_placeholder(std::string_view text);
