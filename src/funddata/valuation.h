// The batch valuation service: the estimates of many funds in one JSON
// request per 50 codes, tried once more on a backup host when a request
// fails. Numbers are written the way the per-fund service wrote them, so rows
// look the same whichever service filled them. Synchronous on the
// user-interface thread; each request lets pending window events run.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <vector>

#include "funddata/endpoints.h"
#include "text/text.h"

// One fund as the service describes it, GBK texts. A value the service gave
// as null, "" or "--" is empty; a number never is. So an empty `gsz` or
// `gszzl` means the service publishes no estimate for the fund.
struct FundValuation {
  Text name = {};    // SHORTNAME
  Text gsz = {};     // GSZ, estimated net value, four decimals ("0.5480")
  Text gszzl = {};   // GSZZL, estimated growth in percent, two decimals ("-0.36")
  Text nav = {};     // NAV, last unit net value, four decimals
  Text gztime = {};  // GZTIME, estimate time ("2026-07-22 10:09")
  Text pdate = {};   // PDATE, date of the last unit net value ("2026-07-21")
};

// The most codes one request carries.
inline constexpr std::size_t kValuationCodesPerRequest = 50;

// `base` + the service path, the codes comma-separated in the order given
// (each byte other than a letter, digit, "-", ".", "_" or "~"
// percent-encoded) and the fixed field list.
Text valuation_url(const Text& base, const std::vector<Text>& codes);

// The funds of one UTF-8 reply body, by code. Nothing when the body is not
// JSON or its "success" is not true: the request failed.
std::optional<std::map<Text, FundValuation>> read_valuation_reply(const Text& utf8_body);

// The funds of `codes` the service knows, by code: one request per 50
// distinct non-empty codes on `endpoints.valuation`, each failed request
// (no reply, a status other than 2xx, or a reply read_valuation_reply
// refuses) tried once more on `endpoints.valuation_backup`. Codes of a
// request that failed twice, and codes the service does not know, are absent.
std::map<Text, FundValuation> fetch_valuations(const std::vector<Text>& codes,
                                               const Endpoints& endpoints);
