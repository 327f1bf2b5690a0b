// The text of the fund-overview label: the fund's name, then its founding
// date, size and manager as cut from the overview page, each line pair
// ended by CR LF CR LF. Stateless; GBK in, GBK out.
#pragma once

#include "text/text.h"

// A field missing from the page leaves its caption with nothing after it.
Text fund_overview_text(const Text& fund_name, const Text& overview_page);
