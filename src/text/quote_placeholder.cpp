#include "text/quote_placeholder.h"

#include "text/gbk_literal.h"

Text replace_quote_placeholder(std::string_view text) {
  // "#" is never the second byte of a GBK character, so a byte search finds
  // the placeholder only where it really stands.
  static const Text placeholder = gbk("#引号");
  Text out;
  size_t from = 0;
  for (size_t at; (at = text.find(placeholder, from)) != std::string_view::npos;
       from = at + placeholder.size()) {
    out.append(text.substr(from, at - from));
    out.push_back('"');
  }
  out.append(text.substr(from));
  return out;
}
