// The newest-quarter holdings of funds, each fetched once and kept for the
// rest of the run, so that refreshes after the first ask no holdings page.
// A page that could not be fetched (no reply, a status other than 2xx) is not
// kept, so the next refresh asks again. One per program run; user-interface
// thread only (a fetch lets other handlers run, which may use it too).
#pragma once

#include <map>

#include "funddata/endpoints.h"
#include "funddata/holdings_page.h"
#include "text/text.h"

class HoldingsCache {
 public:
  // The holdings of `code`, fetched from `endpoints` when not kept yet. The
  // reference stays valid for the cache's life.
  const FundHoldings& holdings_of(const Endpoints& endpoints, const Text& code);

 private:
  std::map<Text, FundHoldings> kept_;
  FundHoldings none_;
};
