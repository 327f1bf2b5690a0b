#include "detail/fund_overview.h"

#include "text/gbk_literal.h"
#include "text/markers.h"

Text fund_overview_text(const Text& fund_name, const Text& overview_page) {
  Text established = text_between(overview_page, "\"establishmentDate\":\"", "\"");
  Text size = text_between(overview_page, "\"assetSize\":\"", "\"");
  Text manager = text_between(overview_page, "\"fundManagerName\":\"", "\"");
  static const Text kFounded = gbk("\r\n\r\n成立于");
  static const Text kSize = gbk("\r\n\r\n规模:");
  static const Text kManager = gbk("\r\n\r\n基金经理:");
  return fund_name + kFounded + established + kSize + size + kManager + manager + "\r\n\r\n";
}
