#include "funddata/batch_estimates.h"

#include <set>

#include "funddata/computed_estimates.h"
#include "funddata/valuation.h"

bool uses_per_fund_estimates(const Endpoints& endpoints) {
  return !endpoints.fund_estimate.empty();
}

std::vector<FundEstimate> fetch_estimates(const std::vector<Text>& codes,
                                          const Endpoints& endpoints, HoldingsCache& holdings) {
  std::map<Text, FundValuation> valuations = fetch_valuations(codes, endpoints);
  // The funds the service names without an estimate, in the order of the
  // codes, so the requests follow the list.
  std::vector<FundToEstimate> without_estimate;
  std::set<Text> seen;
  for (const Text& code : codes) {
    auto found = valuations.find(code);
    if (found == valuations.end() || !seen.insert(code).second) continue;
    const FundValuation& v = found->second;
    if (!v.name.empty() && v.gsz.empty() && v.gszzl.empty()) {
      without_estimate.push_back({.code = code, .nav = v.nav, .nav_date = v.pdate});
    }
  }
  std::map<Text, ComputedEstimate> computed =
      compute_estimates(without_estimate, endpoints, holdings);
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
    auto own = computed.find(code);
    if (own != computed.end()) {
      estimates.back().gsz = own->second.gsz;
      estimates.back().gszzl = own->second.gszzl;
      estimates.back().gztime = own->second.gztime;
      estimates.back().computed = true;
    }
  }
  return estimates;
}
