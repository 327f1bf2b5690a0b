// Reads the fund-holdings page: a script assignment whose content holds one
// HTML table per disclosed quarter, newest first. Only the newest quarter's
// table is read; its columns are found by their header text, since the
// wording and the number of columns differ between quarters. Stateless.
#pragma once

#include <vector>

#include "text/text.h"

struct StockHolding {
  Text secid;                  // "1.600519": market, a dot and the code, from the code cell's link
  Text code;                   // the code cell's text
  Text name;                   // the name cell's text; empty without such a column
  double net_value_share = 0;  // percent of the fund's net asset value ("7.12%" gives 7.12)
};

struct FundHoldings {
  Text report_date;  // the quarter's date after "截止至：", as written; may be empty
  std::vector<StockHolding> stocks;  // in table order; rows without a quote link are left out
};

// `page` is GBK text. A page without a holdings table (no table, or no code
// or share column in its header) gives no stocks.
FundHoldings parse_holdings_page(const Text& page);
