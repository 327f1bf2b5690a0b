// The made-up stocks the sample server quotes, and the stock-quote reply it
// builds from them (UTF-8 JSONP, only the asked fields, in field-number
// order, as the quote service writes them). Pure functions over a constant
// table; safe from any thread.
#pragma once

#include <string>
#include <string_view>

namespace sample {

struct SampleStock {
  const char* secid;  // market.code, as in the security list
  const char* code;
  const char* name;
  const char* price;   // f2; "-" for a suspended stock
  const char* change;  // f3, percent; "-" for a suspended stock
  const char* pe;      // f9, price-earnings ratio; "-" for a suspended stock
};

// Every quote carries this update time (f124): 2026-12-11 14:30 China time.
inline constexpr long long kQuoteTime = 1796970600;

// The stock of `secid`, or null when the server does not know it.
const SampleStock* find_stock(std::string_view secid);

// GET /api/qt/ulist.np/get?...&fields=<f..>&...&cb=<callback>&...&secids=<list>&...:
// "<callback>({...,"data":{"total":N,"diff":[{...},...]}});", or the JSON
// alone without a callback, one record per
// known stock of `secids` in the list's order (unknown ones are left out).
// Each record holds the fields of `fields` (f2, f3, f9, f12, f13, f14,
// f124) in field-number order; an empty `fields` asks for all of them.
std::string quote_reply(std::string_view callback, std::string_view secids,
                        std::string_view fields = {});

}  // namespace sample
