#include "funddata/valuation.h"

#include <charconv>
#include <set>

#include "funddata/web_text.h"
#include "http/web_request.h"
#include "platform/json_reply.h"
#include "text/number.h"

namespace {

using platform::JsonValue;

bool is_unreserved(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

// A code as it goes into the FCODES list: a comma, "&" or blank inside it
// would otherwise split the list or the query.
Text escaped(const Text& code) {
  static const char kHex[] = "0123456789ABCDEF";
  Text result;
  for (unsigned char c : code) {
    if (is_unreserved(c)) {
      result += static_cast<char>(c);
    } else {
      result += '%';
      result += kHex[c >> 4];
      result += kHex[c & 0xF];
    }
  }
  return result;
}

// The text of a field: strings as they are, except "--"; numbers with
// `decimals` places, or in their shortest exact form when `decimals` is
// negative; anything else, and a missing field, empty.
Text field_text(const JsonValue& fund, const char* key, int decimals = -1) {
  const JsonValue* value = fund.member(key);
  if (value == nullptr) return {};
  switch (value->kind()) {
    case JsonValue::Kind::kString:
      return value->as_text() == "--" ? Text() : value->as_text();
    case JsonValue::Kind::kNumber: {
      if (decimals >= 0) return fixed_number_text(value->as_number(), decimals);
      char buffer[64];
      auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value->as_number());
      return error == std::errc() ? Text(buffer, end) : Text();
    }
    default:
      return {};
  }
}

// One request for `codes`; nothing when it failed.
std::optional<std::map<Text, FundValuation>> request(const Text& base,
                                                     const std::vector<Text>& codes) {
  Text status;
  Bytes body;
  web_request(valuation_url(base, codes), {.status_text = &status, .reply_bytes = &body});
  if (!is_success_status(status)) return std::nullopt;
  return read_valuation_reply(body);
}

}  // namespace

Text valuation_url(const Text& base, const std::vector<Text>& codes) {
  Text list;
  for (const Text& code : codes) {
    if (!list.empty()) list += ',';
    list += escaped(code);
  }
  return base + "/mm/newCore/FundValuationLast?FCODES=" + list +
         "&FIELDS=FCODE,SHORTNAME,GSZZL,GZTIME,GSZ,NAV,PDATE";
}

std::optional<std::map<Text, FundValuation>> read_valuation_reply(const Text& utf8_body) {
  std::optional<JsonValue> reply = platform::parse_json(utf8_body);
  if (!reply) return std::nullopt;
  const JsonValue* success = reply->member("success");
  if (success == nullptr || !success->is_true()) return std::nullopt;
  std::map<Text, FundValuation> funds;
  const JsonValue* data = reply->member("data");
  if (data == nullptr) return funds;
  for (const JsonValue& fund : data->items()) {
    Text code = field_text(fund, "FCODE");
    if (code.empty()) continue;
    // The first record of a code counts.
    funds.emplace(code, FundValuation{.name = field_text(fund, "SHORTNAME"),
                                      .gsz = field_text(fund, "GSZ", 4),
                                      .gszzl = field_text(fund, "GSZZL", 2),
                                      .nav = field_text(fund, "NAV", 4),
                                      .gztime = field_text(fund, "GZTIME"),
                                      .pdate = field_text(fund, "PDATE")});
  }
  return funds;
}

std::map<Text, FundValuation> fetch_valuations(const std::vector<Text>& codes,
                                               const Endpoints& endpoints) {
  std::vector<Text> distinct;
  std::set<Text> seen;
  for (const Text& code : codes) {
    if (!code.empty() && seen.insert(code).second) distinct.push_back(code);
  }
  std::map<Text, FundValuation> result;
  for (std::size_t first = 0; first < distinct.size(); first += kValuationCodesPerRequest) {
    std::size_t last = std::min(distinct.size(), first + kValuationCodesPerRequest);
    std::vector<Text> chunk(distinct.begin() + first, distinct.begin() + last);
    auto funds = request(endpoints.valuation, chunk);
    if (!funds && !endpoints.valuation_backup.empty()) {
      funds = request(endpoints.valuation_backup, chunk);
    }
    if (!funds) continue;
    // Only the codes asked for: a record of another code is no answer here.
    for (const Text& code : chunk) {
      auto found = funds->find(code);
      if (found != funds->end()) result.emplace(code, found->second);
    }
  }
  return result;
}
