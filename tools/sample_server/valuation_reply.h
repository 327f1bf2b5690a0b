// The sample server's batch valuation reply: the JSON the service answers
// GET /mm/newCore/FundValuationLast?FCODES=<c1>,<c2>,...&FIELDS=<f1>,... with,
// built from the same made-up funds as the other replies. Pure function;
// safe from any thread.
#pragma once

#include <string>
#include <string_view>

namespace sample {

// `{"data":[...],"errorCode":0,"success":true}` with one object per known
// code of the comma-separated `codes` (raw, not unescaped), in their order;
// unknown codes are left out. Each object holds the asked `fields` that the
// service knows (FCODE, SHORTNAME, GSZ, GSZZL, NAV, GZTIME, PDATE), in an
// order that differs from fund to fund; numbers are JSON numbers in their
// shortest form (1.052, not "1.0520"), a fund without an estimate has null
// GSZ, GSZZL and GZTIME.
std::string valuation_reply(std::string_view codes, std::string_view fields);

}  // namespace sample
