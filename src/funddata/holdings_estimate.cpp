#include "funddata/holdings_estimate.h"

#include <chrono>
#include <cmath>

#include "text/number.h"

namespace {

// Sums of shares are of values with two decimals; a sum that prints as 20.00
// meets the minimum.
constexpr double kShareTolerance = 1e-9;

}  // namespace

Text china_time_text(long long seconds) {
  using namespace std::chrono;
  sys_seconds china = sys_seconds{seconds * 1s} + 8h;
  sys_days day = floor<days>(china);
  year_month_day date{day};
  hh_mm_ss time{china - day};
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d", static_cast<int>(date.year()),
                static_cast<int>(static_cast<unsigned>(date.month())),
                static_cast<int>(static_cast<unsigned>(date.day())),
                static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()));
  return buffer;
}

std::optional<ComputedEstimate> estimate_from_holdings(const HoldingsEstimateInput& input) {
  double nav = text_to_number(input.nav);
  if (!(nav > 0) || !std::isfinite(nav)) return std::nullopt;

  double weights = 0, weighted_changes = 0;
  std::optional<long long> newest;
  for (const StockHolding& stock : input.holdings) {
    auto quote = input.quotes.find(stock.secid);
    if (quote == input.quotes.end() || !quote->second.change_percent) continue;
    double change = *quote->second.change_percent;
    if (!std::isfinite(change) || !std::isfinite(stock.net_value_share) ||
        stock.net_value_share <= 0) {
      continue;
    }
    weights += stock.net_value_share;
    weighted_changes += stock.net_value_share * change;
    if (quote->second.updated_at && (!newest || *quote->second.updated_at > *newest)) {
      newest = quote->second.updated_at;
    }
  }
  if (weights + kShareTolerance < kMinimumQuotedShare) return std::nullopt;

  Text time = china_time_text(newest ? *newest : input.reply_time);
  // The day's net value is out: an estimate on top of it would count the
  // day's change twice.
  if (time.substr(0, 10) == input.nav_date) return std::nullopt;
  double growth = weighted_changes / weights;
  return ComputedEstimate{.gsz = fixed_number_text(nav * (1 + growth / 100), 4),
                          .gszzl = fixed_number_text(growth, 2),
                          .gztime = time};
}
