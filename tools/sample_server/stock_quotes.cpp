#include "sample_server/stock_quotes.h"

#include <array>
#include <string>

namespace sample {
namespace {

// Every name below is invented for the samples ("示例" means "sample").
const std::array<SampleStock, 8> kStocks = {{
    {"0.000011", "000011", "示例地产", "8.76", "0.00", "15.3"},
    {"0.300012", "300012", "示例科技", "45.60", "1.02", "60.7"},
    {"1.600013", "600013", "示例银行", "12.34", "-0.35", "20.1"},
    {"1.601014", "601014", "示例能源", "5.02", "2.31", "9.8"},
    {"0.002015", "002015", "示例医药", "30.05", "-1.20", "35.4"},
    {"116.00981", "00981", "示例港股", "21.40", "1.50", "12.6"},
    {"1.600099", "600099", "示例停牌", "-", "-", "-"},
    {"0.000077", "000077", "示例化工", "7.70", "-2.10", "18.2"},
}};

// The value as the service writes it with fltt=2: a number, or "-" quoted.
std::string number_value(const char* value) { return std::string(value) == "-" ? "\"-\"" : value; }

bool asked(std::string_view fields, std::string_view field) {
  if (fields.empty()) return true;
  while (!fields.empty()) {
    std::size_t comma = fields.find(',');
    if (fields.substr(0, comma) == field) return true;
    fields = comma == std::string_view::npos ? std::string_view() : fields.substr(comma + 1);
  }
  return false;
}

std::string record(const SampleStock& s, std::string_view fields) {
  std::string market(s.secid, std::string_view(s.secid).find('.'));
  const std::pair<const char*, std::string> values[] = {
      {"f2", number_value(s.price)},
      {"f3", number_value(s.change)},
      {"f9", number_value(s.pe)},
      {"f12", std::string("\"") + s.code + "\""},
      {"f13", market},
      {"f14", std::string("\"") + s.name + "\""},
      {"f124", std::to_string(kQuoteTime)},
  };
  std::string out;
  for (const auto& [name, value] : values) {
    if (!asked(fields, name)) continue;
    out += (out.empty() ? "{\"" : ",\"") + std::string(name) + "\":" + value;
  }
  return out + "}";
}

}  // namespace

const SampleStock* find_stock(std::string_view secid) {
  for (const SampleStock& s : kStocks) {
    if (secid == s.secid) return &s;
  }
  return nullptr;
}

std::string quote_reply(std::string_view callback, std::string_view secids,
                        std::string_view fields) {
  std::string diff;
  int total = 0;
  while (!secids.empty()) {
    std::size_t comma = secids.find(',');
    const SampleStock* s = find_stock(secids.substr(0, comma));
    if (s != nullptr) {
      if (total++ > 0) diff += ',';
      diff += record(*s, fields);
    }
    secids = comma == std::string_view::npos ? std::string_view() : secids.substr(comma + 1);
  }
  std::string json =
      "{\"rc\":0,\"rt\":11,\"svr\":1,\"lt\":1,\"full\":1,\"data\":{"
      "\"total\":" +
      std::to_string(total) + ",\"diff\":[" + diff + "]}}";
  return callback.empty() ? json : std::string(callback) + "(" + json + ");";
}

}  // namespace sample
