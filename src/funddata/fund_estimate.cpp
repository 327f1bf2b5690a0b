#include "funddata/fund_estimate.h"

#include "funddata/web_text.h"
#include "text/gbk_literal.h"
#include "text/markers.h"

Text estimate_url(const Text& base, const Text& code) {
  static const Text kPath = gbk("/js/");
  static const Text kQuery = gbk(".js?rt=0305457217284");
  return base + kPath + code + kQuery;
}

FundEstimate fetch_estimate(const Text& code, const Endpoints& endpoints) {
  Text reply = fetch_text(estimate_url(endpoints.fund_estimate, code));
  static const Text kQuote = gbk("\"");
  auto field = [&](const char* left) { return text_between(reply, gbk(left), kQuote); };
  FundEstimate estimate;
  estimate.name = field("name\":\"");
  estimate.gsz = field("gsz\":\"");
  estimate.gszzl = field("gszzl\":\"");
  estimate.dwjz = field("dwjz\":\"");
  estimate.gztime = field("gztime\":\"");
  return estimate;
}
