// The hosts of the web endpoints the handlers call, each a scheme and host
// with an optional port ("https://example.net:8443"). The program's build
// settings fill one value for the whole run; tests and the demo point them at
// loopback servers. Estimates come from the per-fund service when its host
// is set, else from the valuation service. Plain value, copy freely.
#pragma once

#include "text/text.h"

struct Endpoints {
  Text fund_estimate = {};     // per-fund intraday estimate; empty: the valuation service
  Text valuation = {};         // batch valuation service
  Text valuation_backup = {};  // the same service, asked when `valuation` fails
  Text trend_chart = {};       // trend-chart image (HTTP)
  Text holdings = {};          // fund-holdings page
  Text stock_quote = {};       // stock quotes (HTTPS, JSONP)
  Text overview = {};          // fund-overview page
};
