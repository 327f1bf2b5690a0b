// The five lists cut out of a stock-quote reply (price, change, P/E ratio,
// stock code, stock name) and the holdings they make, one per stock name.
// Stateless; cut_quote_lists runs `process_events` after every item found.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "text/text.h"

struct QuoteLists {
  std::vector<Text> f2;   // latest price
  std::vector<Text> f3;   // change in percent, "%" appended
  std::vector<Text> f9;   // price-earnings ratio
  std::vector<Text> f12;  // stock code
  std::vector<Text> f14;  // stock name; one holding per item
};

// Cuts f2, f3, f9, f12 and f14, in this order, out of the GBK quote text.
QuoteLists cut_quote_lists(const Text& quote_text,
                           const std::function<void()>& process_events = {});

// One row of the holdings list.
struct Holding {
  Text code;    // column 0, f12
  Text name;    // column 1, f14
  Text price;   // column 2, f2
  Text pe;      // column 3, f9
  Text change;  // column 4, f3
};

// The holding of the `index`-th stock name. A list with fewer items than
// f14 gives an empty text for that cell.
Holding holding_at(const QuoteLists& lists, std::size_t index);
