// One fund's intraday estimate from the fund-estimate endpoint: the request
// URL and the five fields cut out of the JSONP reply. Synchronous on the
// user-interface thread; the request lets pending window events run.
#pragma once

#include "funddata/endpoints.h"
#include "text/text.h"

// The result of one fetch, GBK texts exactly as cut from the reply; each is
// empty when the reply lacks it or the request failed.
struct FundEstimate {
  Text name = {};         // fund name
  Text gsz = {};          // estimated net value
  Text gszzl = {};        // estimated growth in percent, without "%"
  Text dwjz = {};         // last unit net value
  Text gztime = {};       // estimate time
  bool computed = false;  // gsz, gszzl and gztime were computed from the fund's holdings
};

// `base` + "/js/" + the code unescaped + ".js?rt=" + the constant rt value.
Text estimate_url(const Text& base, const Text& code);

// Requests the estimate of `code` from `endpoints.fund_estimate`.
FundEstimate fetch_estimate(const Text& code, const Endpoints& endpoints);
