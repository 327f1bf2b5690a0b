#include "funddata/estimate_quotes.h"

#include <chrono>
#include <cmath>
#include <set>

#include "http/bytes.h"
#include "http/web_request.h"
#include "platform/json_reply.h"

using platform::JsonValue;

namespace {

// An integral JSON number as text ("116"); empty for anything else.
Text integer_text(const JsonValue* value) {
  if (value == nullptr || value->kind() != JsonValue::Kind::kNumber) return {};
  double number = value->as_number();
  if (number < 0 || number > 1e9 || std::floor(number) != number) return {};
  return std::to_string(static_cast<long long>(number));
}

std::optional<double> number_of(const JsonValue* value) {
  if (value == nullptr || value->kind() != JsonValue::Kind::kNumber) return std::nullopt;
  return value->as_number();
}

long long seconds_now() {
  using namespace std::chrono;
  return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

bool is_2xx(const Text& status) {
  return status.size() >= 3 && status[0] == '2' && status[1] >= '0' && status[1] <= '9' &&
         status[2] >= '0' && status[2] <= '9';
}

}  // namespace

Text estimate_quotes_url(const Endpoints& endpoints, const std::vector<Text>& secids) {
  Text list;
  for (const Text& secid : secids) {
    if (!list.empty()) list += ',';
    list += secid;
  }
  return endpoints.stock_quote +
         "/api/qt/ulist.np/get?fltt=2&invt=2&fields=f2,f3,f12,f13,f14,f124"
         "&ut=c41e08d3b7fa59e2d06c8b1743ea9f5d&secids=" +
         list;
}

std::optional<QuoteTable> read_estimate_quotes(const Text& utf8_body, long long arrival_time) {
  std::optional<JsonValue> reply = platform::parse_json(utf8_body);
  if (!reply) return std::nullopt;
  QuoteTable quotes;
  const JsonValue* data = reply->member("data");
  const JsonValue* diff = data == nullptr ? nullptr : data->member("diff");
  if (diff == nullptr) return quotes;
  for (const JsonValue& record : diff->items()) {
    const JsonValue* code = record.member("f12");
    Text market = integer_text(record.member("f13"));
    if (code == nullptr || code->kind() != JsonValue::Kind::kString || code->as_text().empty() ||
        market.empty()) {
      continue;
    }
    std::optional<double> updated = number_of(record.member("f124"));
    quotes.emplace(
        market + "." + code->as_text(),
        StockQuote{.change_percent = number_of(record.member("f3")),
                   .updated_at =
                       updated && *updated > 0 ? static_cast<long long>(*updated) : arrival_time});
  }
  return quotes;
}

QuoteTable fetch_estimate_quotes(const Endpoints& endpoints, const std::vector<Text>& secids) {
  std::vector<Text> distinct;
  std::set<Text> seen;
  for (const Text& secid : secids) {
    if (!secid.empty() && seen.insert(secid).second) distinct.push_back(secid);
  }
  QuoteTable quotes;
  for (std::size_t first = 0; first < distinct.size(); first += kSecidsPerQuoteRequest) {
    std::size_t last = std::min(distinct.size(), first + kSecidsPerQuoteRequest);
    std::vector<Text> chunk(distinct.begin() + first, distinct.begin() + last);
    Text status;
    Bytes body;
    web_request(estimate_quotes_url(endpoints, chunk),
                {.status_text = &status, .reply_bytes = &body});
    if (!is_2xx(status)) continue;
    std::optional<QuoteTable> read = read_estimate_quotes(body, seconds_now());
    if (!read) continue;
    // Only the stocks asked for.
    for (const Text& secid : chunk) {
      auto found = read->find(secid);
      if (found != read->end()) quotes.emplace(secid, found->second);
    }
  }
  return quotes;
}
