// The estimate of a fund computed from its stock holdings and live quotes,
// for funds the valuation service gives no estimate: the share-weighted
// mean change of the quoted holdings applied to the last net value. A pure
// function; no requests, no clock.
#pragma once

#include <map>
#include <optional>
#include <vector>

#include "funddata/holdings_page.h"
#include "text/text.h"

// One stock's quote as the estimate reads it.
struct StockQuote {
  std::optional<double> change_percent;  // f3; none for a suspended stock ("-")
  std::optional<long long> updated_at;   // f124, seconds since 1970 UTC; none when absent
};

// Quotes by secid ("1.600519": f13, a dot, f12).
using QuoteTable = std::map<Text, StockQuote>;

struct HoldingsEstimateInput {
  const std::vector<StockHolding>& holdings;  // the newest quarter's stocks
  const QuoteTable& quotes;
  Text nav = {};             // last unit net value ("1.4450")
  Text nav_date = {};        // the date that value is for ("2026-07-21")
  long long reply_time = 0;  // when the quote reply arrived, seconds since 1970 UTC
};

// The texts of the computed row cells.
struct ComputedEstimate {
  Text gsz;     // NAV x (1 + g / 100), four decimals
  Text gszzl;   // g, two decimals, without "%"
  Text gztime;  // China time (UTC+8) "YYYY-MM-DD HH:MM" of the newest quote used
};

// The smallest share of net value, in percent, that the quoted holdings must
// make up for an estimate.
inline constexpr double kMinimumQuotedShare = 20.0;

// g = sum(w x r) / sum(w) over the holdings with a numeric change r, w their
// share of net value. Nothing when those make up less than
// kMinimumQuotedShare, when the NAV is not a positive number, or when the NAV
// is already published for the quotes' day (nav_date is that day).
std::optional<ComputedEstimate> estimate_from_holdings(const HoldingsEstimateInput& input);

// Seconds since 1970 UTC as China time (UTC+8), "YYYY-MM-DD HH:MM".
Text china_time_text(long long seconds);
