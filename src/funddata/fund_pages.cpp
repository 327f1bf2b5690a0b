#include "funddata/fund_pages.h"

#include "funddata/detail_urls.h"
#include "funddata/web_text.h"
#include "text/markers.h"

Text fetch_holdings_page(const Endpoints& endpoints, const Text& code) {
  return fetch_text(holdings_url(endpoints, code), holdings_referer(endpoints, code));
}

Text fetch_security_list(const Endpoints& endpoints, const Text& code) {
  return text_between(fetch_holdings_page(endpoints, code),
                      "</td></tr></tbody></table><div class='hide' id='gpdmList'>",
                      "</div></div></div>");
}

std::optional<FundHoldings> try_fetch_fund_holdings(const Endpoints& endpoints, const Text& code) {
  FetchedText page = fetch_reply(holdings_url(endpoints, code), holdings_referer(endpoints, code));
  if (!page.ok) return std::nullopt;
  return parse_holdings_page(page.text);
}

Text fetch_detail_quotes(const Endpoints& endpoints, const Text& secids) {
  return fetch_text(stock_quote_url(endpoints, secids));
}

Text fetch_overview_page(const Endpoints& endpoints, const Text& code) {
  return fetch_text(overview_url(endpoints, code));
}
