#include "sample_server/sample_data.h"

#include <array>
#include <cstdio>
#include <cstdlib>

namespace sample {
namespace {

// Every name below is invented for the samples ("示例" means "sample").
const std::array<SampleFund, 10> kFunds = {{
    {"990001", "示例成长混合A", "1.2345", "1.2499", "1.25", "2026-12-11 14:30", "2015-06-18",
     "12.34亿", "张示例", "0.000011,0.300012,1.600013,"},
    {"990002", "示例稳健债券", "1.0520", "1.0520", "0.00", "2026-12-11 14:30", "2012-03-01",
     "5.60亿", "李样本", "1.600013,0.000011,1.601014,"},
    {"990003", "示例价值精选", "2.5000", "2.4870", "-0.52", "2026-12-11 14:30", "2018-11-20",
     "88.02亿", "王演示", "0.002015,1.601014,0.300012,0.000011,"},
    {"990004", "示例微涨指数", "0.9876", "0.9877", "0.01", "2026-12-11 14:29", "2020-01-06",
     "0.75亿", "赵范例", "1.600013,"},
    {"990005", "示例新兴产业", "3.1000", "3.0575", "-1.37", "2026-12-11 14:30", "2021-09-09", "",
     "钱虚构", "0.300012,0.002015,"},
    // An actively managed fund: the valuation service publishes no estimate.
    {"990006", "示例主动精选", "1.4450", "", "", "", "2010-04-12", "20.00亿", "周假名",
     "0.000011,0.300012,"},
    // Without an estimate too, computed from holdings (see holdings_page.h):
    // rising, falling, the net value of the quotes' day already out, and a
    // fund whose page has no stock table.
    {"990021", "示例港股成长", "1.5000", "", "", "", "2016-08-08", "9.90亿", "吴虚拟",
     "1.601014,0.300012,116.00981,1.600099,"},
    {"990022", "示例医药主动", "2.0000", "", "", "", "2017-02-14", "3.30亿", "郑假设",
     "0.002015,1.600013,0.000011,"},
    {"990023", "示例已结算", "1.6000", "", "", "", "2014-10-10", "6.60亿", "冯测试",
     "1.601014,0.300012,116.00981,", "2026-12-11"},
    {"990024", "示例纯债增强", "1.3000", "", "", "", "2019-12-12", "2.20亿", "陈例子", ""},
}};

bool all_digits(std::string_view text) {
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// A generated fund for "97dddd": values move with the number so that rows
// differ and every colour case occurs among them. "96dddd" is the same fund
// without an estimate.
SampleFund generated_fund(std::string_view code) {
  int n = std::stoi(std::string(code.substr(2)));
  int hundredths = n % 201 - 100;  // -1.00 .. 1.00
  char growth[16];
  std::snprintf(growth, sizeof growth, "%s%d.%02d", hundredths < 0 ? "-" : "",
                std::abs(hundredths) / 100, std::abs(hundredths) % 100);
  char gsz[16];
  std::snprintf(gsz, sizeof gsz, "%.4f", 1.0 + hundredths / 10000.0);
  std::string number(code.substr(2));
  return {std::string(code),
          "示例指数" + number,
          "1.0000",
          gsz,
          growth,
          "2026-12-11 14:30",
          "2019-05-05",
          "1.00亿",
          "孙生成",
          "1.600013,0.000011,0.300012,1.601014,"};
}

}  // namespace

std::optional<SampleFund> find_fund(std::string_view code) {
  for (const SampleFund& fund : kFunds) {
    if (code == fund.code) return fund;
  }
  if (code.size() == 6 && code.substr(0, 2) == "97" && all_digits(code)) {
    return generated_fund(code);
  }
  if (code.size() == 6 && code.substr(0, 2) == "96" && all_digits(code)) {
    SampleFund fund = generated_fund(code);
    fund.gsz = fund.gszzl = fund.gztime = "";
    return fund;
  }
  return std::nullopt;
}

std::string estimate_reply(std::string_view code) {
  std::optional<SampleFund> fund = find_fund(code);
  if (!fund) return "jsonpgz();";
  return "jsonpgz({\"fundcode\":\"" + fund->code + "\",\"name\":\"" + fund->name +
         "\",\"jzrq\":\"2026-12-10\",\"dwjz\":\"" + fund->dwjz + "\",\"gsz\":\"" + fund->gsz +
         "\",\"gszzl\":\"" + fund->gszzl + "\",\"gztime\":\"" + fund->gztime + "\"});";
}

std::string overview_page(std::string_view code) {
  std::optional<SampleFund> fund = find_fund(code);
  std::string fields;
  if (fund) {
    fields = "\"fundCode\":\"" + fund->code + "\",\"fundName\":\"" + fund->name +
             "\",\"establishmentDate\":\"" + fund->establishment_date + "\",";
    if (!fund->asset_size.empty()) fields += "\"assetSize\":\"" + fund->asset_size + "\",";
    fields += "\"fundManagerName\":\"" + fund->manager + "\"";
  }
  // The head declares UTF-8 near its top, as the overview service's does.
  return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>基金概况</title></head><body>"
         "<div id=\"app\"></div><script>window.__INITIAL_STATE__={\"fund\":{" +
         fields + "}};</script></body></html>";
}

}  // namespace sample
