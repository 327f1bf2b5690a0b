#include "sample_server/valuation_reply.h"

#include <optional>
#include <utility>
#include <vector>

#include "sample_server/sample_data.h"

namespace sample {
namespace {

// The items of a comma-separated list; empty items are kept.
std::vector<std::string_view> split(std::string_view list) {
  std::vector<std::string_view> items;
  if (list.empty()) return items;
  while (true) {
    std::size_t comma = list.find(',');
    items.push_back(list.substr(0, comma));
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  return items;
}

// A decimal text as a JSON number in its shortest form ("1.0520" -> 1.052,
// "0.00" -> 0), or null when there is none.
std::string json_number(const std::string& decimal) {
  if (decimal.empty()) return "null";
  std::string text = decimal;
  if (text.find('.') != std::string::npos) {
    while (text.ends_with('0')) text.pop_back();
    if (text.ends_with('.')) text.pop_back();
  }
  if (text == "-0") text = "0";
  return text;
}

std::string json_string(const std::string& text) {
  return text.empty() ? "null" : "\"" + text + "\"";
}

}  // namespace

std::string valuation_reply(std::string_view codes, std::string_view fields) {
  std::vector<std::string_view> asked = split(fields);
  std::string data;
  int index = 0;
  for (std::string_view code : split(codes)) {
    std::optional<SampleFund> fund = find_fund(code);
    if (!fund) continue;
    const std::pair<std::string_view, std::string> known[] = {
        {"FCODE", json_string(fund->code)},  {"SHORTNAME", json_string(fund->name)},
        {"GSZ", json_number(fund->gsz)},     {"GSZZL", json_number(fund->gszzl)},
        {"NAV", json_number(fund->dwjz)},    {"GZTIME", json_string(fund->gztime)},
        {"PDATE", json_string(fund->pdate)},
    };
    // The asked fields that are known, starting at a different one for each
    // fund, so that no reader can rely on an order.
    std::vector<std::string> members;
    for (std::string_view field : asked) {
      for (const auto& [name, value] : known) {
        // Appended piece by piece: GCC 12 warns, wrongly, of overlapping
        // copies in the same concatenation written with "+" at -O3.
        if (name == field) members.emplace_back("\"").append(name).append("\":").append(value);
      }
    }
    std::string object;
    for (std::size_t i = 0; i < members.size(); ++i) {
      if (i > 0) object += ',';
      object += members[(i + index) % members.size()];
    }
    if (index++ > 0) data += ',';
    data += "{" + object + "}";
  }
  return "{\"data\":[" + data + "],\"errorCode\":0,\"success\":true}";
}

}  // namespace sample
