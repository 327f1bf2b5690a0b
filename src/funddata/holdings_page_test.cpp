#include "funddata/holdings_page.h"

#include <gtest/gtest.h>

#include "text/gbk_literal.h"

namespace {

// A page in the shape the holdings service answers with: the newest
// quarter's nine-column table, then its security list, then an older
// quarter whose seven columns are worded differently and in another order.
const char kTwoQuarters[] =
    "var apidata={ content:\"<div class='box'><div class='boxitem w790'><h4 class='t'>"
    "<label class='left'><a href='//fund.example/990101.html'>示例蓝筹混合</a>&nbsp;&nbsp;"
    "2026年3季度股票投资明细</label><label class='right lab2 xq505'>&nbsp;来源：示例&nbsp;"
    "截止至：<font class='px12'>2026-09-30</font></label></h4><div class='space0'></div>"
    "<table class='w782 comm tzxq'><thead><tr><th class='first'>序号</th><th>股票代码</th>"
    "<th>股票名称</th><th>最新价</th><th>涨跌幅</th><th class='xglj'>相关资讯</th>"
    "<th class='tor'>占净值<br />比例</th><th class='tor'>持股数<br />（万股）</th>"
    "<th class='tor'>持仓市值<br />（万元）</th></tr></thead><tbody>"
    "<tr><td>1</td><td><a href='//quote.example/unify/r/1.600519'>600519</a></td>"
    "<td class='tol'><a href='//quote.example/unify/r/1.600519'>示例酒业</a></td>"
    "<td class='tor'><span id='dq600519'></span></td><td class='tor'><span></span></td>"
    "<td class='xglj'><a href='x'>变动详情</a></td><td class='tor'>9.92%</td>"
    "<td class='tor'>120.00</td><td class='tor'>200,000.00</td></tr>"
    "<tr><td>2</td><td><a href='//quote.example/unify/r/116.00700'>00700</a></td>"
    "<td class='tol'><a href='x'>示例控股</a></td><td></td><td></td><td></td>"
    "<td class='tor'>7.12%</td><td class='tor'>10.00</td><td class='tor'>3,000.00</td></tr>"
    "<tr><td>3</td><td>000999</td><td>没有链接</td><td></td><td></td><td></td>"
    "<td class='tor'>1.00%</td><td></td><td></td></tr>"
    "<tr><td>4</td><td><a href=\\\"//quote.example/unify/r/0.000858\\\">000858</a></td>"
    "<td>示例五粮</td><td></td><td></td><td></td><td>5.5%</td><td></td><td></td></tr>"
    "</tbody></table><div class='hide' id='gpdmList'>1.600519,116.00700,0.000858,</div>"
    "</div></div><div class='box'><div class='boxitem w790'><h4 class='t'>2026年2季度"
    "股票投资明细 截止至：<font class='px12'>2026-06-30</font></h4>"
    "<table class='w782 comm tzxq'><thead><tr><th>序号</th><th>代码</th><th>名称</th>"
    "<th>占净值比例</th><th>相关资讯</th><th>持股数（万股）</th><th>持仓市值（万元）</th>"
    "</tr></thead><tbody><tr><td>1</td><td><a href='//quote.example/unify/r/0.300750'>300750"
    "</a></td><td>示例电池</td><td>8.00%</td><td></td><td>1</td><td>2</td></tr>"
    "</tbody></table></div></div>\",arryear:[2026,2025],curyear:2026};";

TEST(HoldingsPage, ReadsTheNewestQuarterOnly) {
  FundHoldings holdings = parse_holdings_page(gbk(kTwoQuarters));
  EXPECT_EQ(holdings.report_date, "2026-09-30");
  struct Expected {
    const char* secid;
    const char* code;
    const char* name;
    double share;
  };
  // The row without a quote link is left out; a Hong Kong code keeps its
  // five digits; an escaped attribute quote still gives the link.
  const Expected expected[] = {
      {"1.600519", "600519", "示例酒业", 9.92},
      {"116.00700", "00700", "示例控股", 7.12},
      {"0.000858", "000858", "示例五粮", 5.5},
  };
  ASSERT_EQ(holdings.stocks.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(holdings.stocks[i].secid, expected[i].secid) << i;
    EXPECT_EQ(holdings.stocks[i].code, expected[i].code) << i;
    EXPECT_EQ(holdings.stocks[i].name, gbk(expected[i].name)) << i;
    EXPECT_DOUBLE_EQ(holdings.stocks[i].net_value_share, expected[i].share) << i;
  }
}

TEST(HoldingsPage, FindsColumnsByTheirHeaderText) {
  // The older quarter's layout on its own: share in the fourth column.
  std::string page = kTwoQuarters;
  page.erase(0, page.find("</div></div><div class='box'>"));
  FundHoldings holdings = parse_holdings_page(gbk(page));
  EXPECT_EQ(holdings.report_date, "2026-06-30");
  ASSERT_EQ(holdings.stocks.size(), 1u);
  EXPECT_EQ(holdings.stocks[0].secid, "0.300750");
  EXPECT_EQ(holdings.stocks[0].name, gbk("示例电池"));
  EXPECT_DOUBLE_EQ(holdings.stocks[0].net_value_share, 8.0);
}

TEST(HoldingsPage, PagesWithoutTheTableGiveNoStocks) {
  const char* pages[] = {
      "",
      "var apidata={ content:\"\",arryear:[],curyear:0};",
      "<html><head><title>404</title></head><body><h1>404 Not Found</h1></body></html>",
      // A table without a share column.
      "<table><tr><th>股票代码</th></tr><tr><td><a href='/unify/r/1.600519'>600519</a></td>"
      "</tr></table>",
      // A header only, and links that are no secid.
      "<table><tr><th>股票代码</th><th>占净值比例</th></tr><tr><td><a href='/unify/r/600519'>"
      "x</a></td><td>5%</td></tr><tr><td><a href='/unify/r/1.'>x</a></td><td>5%</td></tr>"
      "<tr><td><a href='/unify/r/1.2.3'>x</a></td><td>5%</td></tr></table>",
      // Cut short inside the first row.
      "<table><thead><tr><th>股票代码</th><th>占净值比例",
  };
  for (const char* page : pages) {
    FundHoldings holdings = parse_holdings_page(gbk(page));
    EXPECT_TRUE(holdings.stocks.empty()) << page;
  }
}

}  // namespace
