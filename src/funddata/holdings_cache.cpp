#include "funddata/holdings_cache.h"

#include "funddata/fund_pages.h"

const FundHoldings& HoldingsCache::holdings_of(const Endpoints& endpoints, const Text& code) {
  auto kept = kept_.find(code);
  if (kept != kept_.end()) return kept->second;
  std::optional<FundHoldings> fetched = try_fetch_fund_holdings(endpoints, code);
  if (!fetched) return none_;
  // A handler that ran during the request may have kept the fund already.
  return kept_.try_emplace(code, std::move(*fetched)).first->second;
}
