#include "funddata/detail_urls.h"

Text trend_chart_url(const Endpoints& endpoints, const Text& code) {
  return endpoints.trend_chart + "/charts/pic6/" + code + ".png";
}

Text holdings_url(const Endpoints& endpoints, const Text& code) {
  return endpoints.holdings + "/FundArchivesDatas.aspx?type=jjcc&code=" + code + "&topline=10";
}

Text holdings_referer(const Endpoints& endpoints, const Text& code) {
  return "Referer: " + endpoints.holdings + "/ccmx_" + code + ".html";
}

Text stock_quote_url(const Endpoints& endpoints, const Text& secids) {
  // Keys in this order; every value is fixed except the security list.
  return endpoints.stock_quote +
         "/api/qt/ulist.np/get?fltt=2&invt=2&fields=f2,f3,f12,f14,f9"
         "&cb=jQuery18306676004993145754_1594342916372"
         "&ut=c41e08d3b7fa59e2d06c8b1743ea9f5d&secids=" +
         secids + "&_=1594342917499";
}

Text overview_url(const Endpoints& endpoints, const Text& code) {
  return endpoints.overview + "/matiaria?fundCode=" + code;
}
