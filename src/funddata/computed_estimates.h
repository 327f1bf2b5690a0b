// Estimates computed from holdings for the funds of one refresh, add or
// import that the valuation service gives none: each fund's holdings from
// the cache (fetched once per run), then one quote request per 120 secids
// for the stocks of all of them together. Synchronous on the user-interface
// thread; each request lets pending window events run.
#pragma once

#include <map>
#include <vector>

#include "funddata/endpoints.h"
#include "funddata/holdings_cache.h"
#include "funddata/holdings_estimate.h"
#include "text/text.h"

struct FundToEstimate {
  Text code;
  Text nav;       // last unit net value
  Text nav_date;  // the date of that value
};

// The computed estimate of each fund of `funds` that has one, by code. A
// fund whose holdings page fails or lacks the table, whose quoted holdings
// make up less than 20 % of net value, or whose NAV for the quotes' day is
// published, is absent.
std::map<Text, ComputedEstimate> compute_estimates(const std::vector<FundToEstimate>& funds,
                                                   const Endpoints& endpoints,
                                                   HoldingsCache& holdings);
