#include "funddata/batch_estimates.h"

#include "funddata/valuation.h"

bool uses_per_fund_estimates(const Endpoints& endpoints) {
  return !endpoints.fund_estimate.empty();
}

std::vector<FundEstimate> fetch_estimates(const std::vector<Text>& codes,
                                          const Endpoints& endpoints) {
  std::map<Text, FundValuation> valuations = fetch_valuations(codes, endpoints);
  std::vector<FundEstimate> estimates;
  estimates.reserve(codes.size());
  for (const Text& code : codes) {
    auto found = valuations.find(code);
    if (found == valuations.end()) {
      estimates.emplace_back();
      continue;
    }
    const FundValuation& v = found->second;
    estimates.push_back(
        {.name = v.name, .gsz = v.gsz, .gszzl = v.gszzl, .dwjz = v.nav, .gztime = v.gztime});
  }
  return estimates;
}
