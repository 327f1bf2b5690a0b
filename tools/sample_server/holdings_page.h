// The sample server's fund-holdings page, in the shape the holdings service
// answers with since 2026: a script assignment whose content holds the
// tables of two disclosed quarters, newest first, the newest followed by its
// security list. Pure functions; safe from any thread.
#pragma once

#include <string>
#include <string_view>

namespace sample {

// The page of `code`: the newest quarter (nine columns) lists the fund's
// securities with shares of net value 9.50 %, 8.20 %, 7.10 %, ... in list
// order and links to each stock's quote, followed by the "gpdmList"
// division holding the list (trailing comma included); the older quarter
// (seven columns, other header wording) holds one other stock. A code the
// server does not know, and a fund without securities, get the content
// without any table.
std::string holdings_page(std::string_view code);

// True when `referer` is the header value the service wants for `code`: a
// URL ending in "/ccmx_<code>.html". Without it the service answers 404.
bool holdings_referer_accepted(std::string_view referer, std::string_view code);

}  // namespace sample
