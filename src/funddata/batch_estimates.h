// The estimates of several funds at once, for the row handlers of a build
// without a per-fund estimate host: whatever source fills them, each code
// gets a FundEstimate, empty where nothing is known. Synchronous on the
// user-interface thread; the requests let pending window events run.
#pragma once

#include <vector>

#include "funddata/endpoints.h"
#include "funddata/fund_estimate.h"
#include "text/text.h"

// True when the build reads estimates one fund per request from
// `endpoints.fund_estimate`; false when it reads them in batches.
bool uses_per_fund_estimates(const Endpoints& endpoints);

// One estimate per code, in the order of `codes`: name, gsz, gszzl, dwjz and
// gztime from the valuation service (one request per 50 codes). All five
// texts are empty for a code the service does not know or whose requests
// failed.
std::vector<FundEstimate> fetch_estimates(const std::vector<Text>& codes,
                                          const Endpoints& endpoints);
