// The made-up funds and securities the sample server knows, and the reply
// bodies it builds from them (UTF-8, in the formats the program cuts its
// values from). Pure functions over constant tables; safe from any thread.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sample {

struct SampleFund {
  std::string code;
  std::string name;
  std::string dwjz;    // last unit net value
  std::string gsz;     // estimated net value
  std::string gszzl;   // estimated growth in percent, as the reply writes it
  std::string gztime;  // estimate time
  std::string establishment_date;
  std::string asset_size;  // empty: the overview page lacks the field
  std::string manager;
  std::string secids;                // security list of the holdings page, "market.code," each
  std::string pdate = "2026-12-10";  // date of the last unit net value
};

// The fund of `code`, or nothing for a code the server does not know.
// Known: the named funds 990001-990006 (rising 1.25, zero 0.00, falling
// -0.52, rising 0.01, falling -1.37 without an asset size, and one without
// an estimate: empty gsz, gszzl and gztime), the funds without an estimate
// whose holdings give one 990021 (rising), 990022 (falling), 990023 (whose
// net value for 2026-12-11 is out) and 990024 (no stock table), and, for
// benchmarks, every code "97" + four digits (a generated fund whose growth
// runs from -1.00 to 1.00 with the number) and every code "96" + four
// digits (the same without an estimate).
std::optional<SampleFund> find_fund(std::string_view code);

// GET /js/<code>.js?rt=...: "jsonpgz({...});", or "jsonpgz();" when unknown.
std::string estimate_reply(std::string_view code);

// GET /matiaria?fundCode=<code>: a page holding the three overview fields;
// an unknown code gets a page without them.
std::string overview_page(std::string_view code);

}  // namespace sample
