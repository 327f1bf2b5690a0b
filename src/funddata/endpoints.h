// The hosts of the web endpoints the handlers call, each a scheme and host
// with an optional port ("https://example.net:8443"). The program's build
// settings fill one value for the whole run; tests and the demo point them at
// loopback servers. Plain value, copy freely.
#pragma once

#include "text/text.h"

struct Endpoints {
  Text fund_estimate = {};  // intraday estimate (HTTP)
  Text trend_chart = {};    // trend-chart image (HTTP)
  Text holdings = {};       // fund-holdings page
  Text stock_quote = {};    // stock quotes (HTTPS, JSONP)
  Text overview = {};       // fund-overview page
};
