#include "sample_server/holdings_page.h"

#include <optional>

#include "sample_server/sample_data.h"
#include "sample_server/stock_quotes.h"

namespace sample {
namespace {

const char* const kShares[] = {"9.50%", "8.20%", "7.10%", "6.40%", "5.30%",
                               "4.20%", "3.10%", "2.00%", "1.50%", "1.00%"};

std::string heading(const std::string& fund_name, const char* quarter, const char* date) {
  return "<h4 class='t'><label class='left'><a href='//fund.example/ccmx.html'>" + fund_name +
         "</a>&nbsp;&nbsp;" + quarter +
         "股票投资明细</label><label class='right lab2 xq505'>&nbsp;&nbsp;来源：示例&nbsp;&nbsp;"
         "截止至：<font class='px12'>" +
         date + "</font></label></h4><div class='space0'></div>";
}

std::string quote_link(const SampleStock& s, const char* text) {
  return std::string("<a href='//quote.example/unify/r/") + s.secid + "'>" + text + "</a>";
}

// The newest quarter: nine columns, rows in list order. The last row's cells
// close right before the table ends, where the security list begins.
std::string newest_quarter(const SampleFund& fund) {
  std::string rows;
  std::size_t rank = 0;
  std::string_view list = fund.secids;
  while (!list.empty()) {
    std::size_t comma = list.find(',');
    const SampleStock* s = find_stock(list.substr(0, comma));
    if (s != nullptr && rank < std::size(kShares)) {
      rows += "<tr><td>" + std::to_string(rank + 1) + "</td><td>" + quote_link(*s, s->code) +
              "</td><td class='tol'>" + quote_link(*s, s->name) +
              "</td><td class='tor'><span></span></td><td class='tor'><span></span></td>"
              "<td class='xglj'><a href='//fund.example/news'>变动详情</a></td><td class='tor'>" +
              kShares[rank] + "</td><td class='tor'>12.00</td><td class='tor'>3,456.00</td></tr>";
      ++rank;
    }
    list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
  }
  return "<div class='box'><div class='boxitem w790'>" +
         heading(fund.name, "2026年3季度", "2026-09-30") +
         "<table class='w782 comm tzxq'><thead><tr><th class='first'>序号</th><th>股票代码</th>"
         "<th>股票名称</th><th>最新价</th><th>涨跌幅</th><th class='xglj'>相关资讯</th>"
         "<th class='tor'>占净值<br />比例</th><th class='tor'>持股数<br />（万股）</th>"
         "<th class='tor'>持仓市值<br />（万元）</th></tr></thead><tbody>" +
         rows + "</tbody></table><div class='hide' id='gpdmList'>" + fund.secids +
         "</div></div></div>";
}

// The quarter before: seven columns, worded differently, one other stock.
std::string older_quarter(const SampleFund& fund) {
  const SampleStock& s = *find_stock("0.000077");
  return "<div class='box'><div class='boxitem w790'>" +
         heading(fund.name, "2026年2季度", "2026-06-30") +
         "<table class='w782 comm tzxq'><thead><tr><th class='first'>序号</th><th>代码</th>"
         "<th>名称</th><th class='xglj'>相关资讯</th><th class='tor'>占净值比例</th>"
         "<th class='tor'>持股数（万股）</th><th class='tor'>持仓市值（万元）</th></tr></thead>"
         "<tbody><tr><td>1</td><td>" +
         quote_link(s, s.code) + "</td><td class='tol'>" + quote_link(s, s.name) +
         "</td><td class='xglj'></td><td class='tor'>30.00%</td><td class='tor'>1.00</td>"
         "<td class='tor'>2.00</td></tr></tbody></table></div></div>";
}

}  // namespace

std::string holdings_page(std::string_view code) {
  std::optional<SampleFund> fund = find_fund(code);
  // An unknown fund, or one holding no stocks: no table at all.
  if (!fund || fund->secids.empty()) return "var apidata={ content:\"\",arryear:[],curyear:0};";
  return "var apidata={ content:\"" + newest_quarter(*fund) + older_quarter(*fund) +
         "\",arryear:[2026,2025,2024],curyear:2026};";
}

bool holdings_referer_accepted(std::string_view referer, std::string_view code) {
  std::string tail = "/ccmx_" + std::string(code) + ".html";
  return !code.empty() && referer.ends_with(tail) &&
         (referer.starts_with("http://") || referer.starts_with("https://"));
}

}  // namespace sample
