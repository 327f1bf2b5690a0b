// The live quotes of many stocks for the estimates computed from holdings:
// one JSON request per 120 secids on the stock-quote host, read through the
// platform JSON layer. Synchronous on the user-interface thread; each
// request lets pending window events run.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "funddata/endpoints.h"
#include "funddata/holdings_estimate.h"
#include "text/text.h"

// The most secids one quote request carries: the service limits its callers.
inline constexpr std::size_t kSecidsPerQuoteRequest = 120;

// The quote request for `secids` (comma-separated in the order given): price,
// change, code, market, name and update time, numbers as numbers.
Text estimate_quotes_url(const Endpoints& endpoints, const std::vector<Text>& secids);

// The quotes of one UTF-8 reply body by secid (f13, a dot, f12). A change
// that is not a number ("-" for a suspended stock) is none; a quote without
// a numeric f124 takes `arrival_time`. Nothing when the body is not JSON.
std::optional<QuoteTable> read_estimate_quotes(const Text& utf8_body, long long arrival_time);

// The quotes of the distinct non-empty `secids`, one request per 120 of
// them. The stocks of a request that failed, and unknown ones, are absent.
QuoteTable fetch_estimate_quotes(const Endpoints& endpoints, const std::vector<Text>& secids);
