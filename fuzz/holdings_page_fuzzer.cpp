// Reads arbitrary bytes as a holdings page and checks what must hold
// whatever the input: every stock comes with a secid that is a market, a dot
// and a code found in the page, the report date is digits and dashes, and
// there are no more stocks than table rows.

#include <algorithm>

#include "funddata/holdings_page.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  Text page = input.rest();
  FundHoldings holdings = parse_holdings_page(page);

  check(std::all_of(holdings.report_date.begin(), holdings.report_date.end(),
                    [](char c) { return (c >= '0' && c <= '9') || c == '-'; }));
  size_t rows = 0;
  for (size_t at = page.find("<"); at != Text::npos; at = page.find("<", at + 1)) ++rows;
  check(holdings.stocks.size() <= rows);
  for (const StockHolding& stock : holdings.stocks) {
    check(!stock.secid.empty() && page.find(stock.secid) != Text::npos);
    size_t dot = stock.secid.find('.');
    check(dot != Text::npos && dot > 0 && dot + 1 < stock.secid.size());
    check(stock.code.size() <= page.size() && stock.name.size() <= page.size());
  }
  return 0;
}
