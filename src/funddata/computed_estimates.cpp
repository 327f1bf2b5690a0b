#include "funddata/computed_estimates.h"

#include <chrono>

#include "funddata/estimate_quotes.h"

std::map<Text, ComputedEstimate> compute_estimates(const std::vector<FundToEstimate>& funds,
                                                   const Endpoints& endpoints,
                                                   HoldingsCache& holdings) {
  std::vector<const FundHoldings*> stocks_of;
  std::vector<Text> secids;
  for (const FundToEstimate& fund : funds) {
    stocks_of.push_back(&holdings.holdings_of(endpoints, fund.code));
    for (const StockHolding& stock : stocks_of.back()->stocks) secids.push_back(stock.secid);
  }
  std::map<Text, ComputedEstimate> estimates;
  if (secids.empty()) return estimates;
  QuoteTable quotes = fetch_estimate_quotes(endpoints, secids);
  long long now = std::chrono::duration_cast<std::chrono::seconds>(
                      std::chrono::system_clock::now().time_since_epoch())
                      .count();
  for (std::size_t i = 0; i < funds.size(); ++i) {
    std::optional<ComputedEstimate> estimate =
        estimate_from_holdings({.holdings = stocks_of[i]->stocks,
                                .quotes = quotes,
                                .nav = funds[i].nav,
                                .nav_date = funds[i].nav_date,
                                .reply_time = now});
    if (estimate) estimates.emplace(funds[i].code, *estimate);
  }
  return estimates;
}
