// The text replies of fund data that the detail panel and the computed
// estimates read: which URL, which header and which decoding each takes.
// Every reply is converted from UTF-8 exactly once (web_text.h).
// Synchronous on the user-interface thread; each request lets pending window
// events run.
#pragma once

#include <optional>

#include "funddata/endpoints.h"
#include "funddata/holdings_page.h"
#include "text/text.h"

// The holdings page of `code`, requested with its Referer.
Text fetch_holdings_page(const Endpoints& endpoints, const Text& code);

// The security list of the page's "gpdmList" division, as it stands
// ("1.600519,0.000858,"); empty when the page fails or lacks it.
Text fetch_security_list(const Endpoints& endpoints, const Text& code);

// The newest quarter's stocks of `code`; no stocks when the page lacks the
// table, nothing at all when it could not be fetched (no reply, a status
// other than 2xx).
std::optional<FundHoldings> try_fetch_fund_holdings(const Endpoints& endpoints, const Text& code);

// The stock-quote JSONP reply for the security list `secids`.
Text fetch_detail_quotes(const Endpoints& endpoints, const Text& secids);

// The fund-overview page of `code`.
Text fetch_overview_page(const Endpoints& endpoints, const Text& code);
