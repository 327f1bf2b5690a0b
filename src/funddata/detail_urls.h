// The URLs of the four requests a click on a fund row makes, and the header
// the holdings page needs: the endpoint's host from Endpoints, then the fixed
// path and query. The fund code and the security list go in as they are,
// without escaping. Stateless.
#pragma once

#include "funddata/endpoints.h"
#include "text/text.h"

// The trend-chart PNG of the fund.
Text trend_chart_url(const Endpoints& endpoints, const Text& code);
// The fund-holdings page, whose "gpdmList" division lists the securities.
Text holdings_url(const Endpoints& endpoints, const Text& code);
// The header line the holdings page needs: without it the service answers
// with a not-found page. "Referer: <holdings host>/ccmx_<code>.html".
Text holdings_referer(const Endpoints& endpoints, const Text& code);
// The stock-quote JSONP request for the security list `secids`.
Text stock_quote_url(const Endpoints& endpoints, const Text& secids);
// The fund-overview page.
Text overview_url(const Endpoints& endpoints, const Text& code);
