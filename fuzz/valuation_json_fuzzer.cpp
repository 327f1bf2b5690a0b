// Reads arbitrary bytes as a reply of the valuation service and as a reply of
// the quote service, the two JSON replies the estimates are read from, and
// checks what must hold whatever the input: a fund is keyed by a code and a
// quote by a market, a dot and a code, and a quote's time is the one given
// when its reply carries none.

#include "funddata/estimate_quotes.h"
#include "funddata/valuation.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  bool as_quotes = input.byte() & 1;
  Text body = input.rest();
  if (as_quotes) {
    std::optional<QuoteTable> quotes = read_estimate_quotes(body, 77);
    if (!quotes) return 0;
    for (const auto& [secid, quote] : *quotes) {
      size_t dot = secid.find('.');
      check(dot != Text::npos && dot > 0 && dot + 1 < secid.size());
      check(quote.updated_at.has_value() && *quote.updated_at > 0);
    }
  } else {
    std::optional<std::map<Text, FundValuation>> funds = read_valuation_reply(body);
    if (!funds) return 0;
    for (const auto& [code, fund] : *funds) {
      check(!code.empty());
      check(fund.gsz.empty() || fund.gsz.find('.') != Text::npos);
    }
  }
  return 0;
}
