// The estimates of several funds at once, for the row handlers of a build
// without a per-fund estimate host: whatever source fills them, each code
// gets a FundEstimate, empty where nothing is known. A fund the valuation
// service names without an estimate gets one computed from its holdings.
// Synchronous on the user-interface thread; the requests let pending window
// events run.
#pragma once

#include <vector>

#include "funddata/endpoints.h"
#include "funddata/fund_estimate.h"
#include "funddata/holdings_cache.h"
#include "text/text.h"

// True when the build reads estimates one fund per request from
// `endpoints.fund_estimate`; false when it reads them in batches.
bool uses_per_fund_estimates(const Endpoints& endpoints);

// One estimate per code, in the order of `codes`: name, gsz, gszzl, dwjz and
// gztime from the valuation service (one request per 50 codes). All five
// texts are empty for a code the service does not know or whose requests
// failed. Where the service gives a name but neither gsz nor gszzl, the
// estimate is computed from the fund's holdings (kept in `holdings`) and
// one quote request per 120 stocks for all such funds together, and marked
// `computed`; without one (see computed_estimates.h) those stay empty.
std::vector<FundEstimate> fetch_estimates(const std::vector<Text>& codes,
                                          const Endpoints& endpoints, HoldingsCache& holdings);
