#include "detail/fund_detail.h"

#include <vector>

#include "detail/fund_overview.h"
#include "funddata/detail_urls.h"
#include "funddata/fund_pages.h"
#include "funddata/quote_lists.h"
#include "listview/cell_colours.h"
#include "platform/events.h"
#include "platform/image_download.h"
#include "platform/message_box.h"
#include "platform/png_decoder.h"
#include "text/gbk_literal.h"
#include "text/number.h"

namespace {

constexpr Colour kWhite = 16777215, kRed = 255, kBlack = 0, kGreen = 65280;
constexpr int kHoldingColumns = 5;

// The chart's bytes as the picture; a failed download or bytes that are
// not a PNG (an error page) leave the box without a picture, never the
// previous fund's chart.
void show_chart(platform::PictureBox& chart, const Text& url) {
  chart.show();
  chart.set_picture(platform::decode_png(platform::download_image(url)));
}

// Rows are inserted at the top, but the list places each by its code; each
// cell write finds the row again by that code.
void fill_holdings(ReportList& holdings, const QuoteLists& lists) {
  list_clear(holdings);
  for (std::size_t i = 0; i < lists.f14.size(); ++i) {
    Holding holding = holding_at(lists, i);
    list_insert_row(holdings, 0, holding.code);
    const Text* cells[] = {&holding.name, &holding.price, &holding.pe, &holding.change};
    for (int column = 1; column <= 4; ++column) {
      list_set_cell(holdings, list_find_row(holdings, holding.code), column, *cells[column - 1]);
    }
  }
}

void colour_holdings(platform::Window& window, ReportList& holdings) {
  clear_cell_colours(window, &holdings);
  int rows = list_row_count(holdings);
  for (int row = 0; row < rows; ++row) {
    bool rising = is_rising(list_get_cell(holdings, row, 4));
    for (int column = 0; column < kHoldingColumns; ++column) {
      set_cell_colour(window, holdings, row, column, rising ? kWhite : kBlack,
                      rising ? kRed : kGreen);
    }
  }
}

}  // namespace

void show_fund_detail(const DetailPanel& panel, const Endpoints& endpoints) {
  std::vector<int> selected = list_selected_rows(panel.fund_list);
  if (selected.empty()) {
    platform::message_box(gbk("先多添加些关注呗！"), gbk("友情提示"));
    return;
  }
  int row = selected.front();
  const Text code = list_get_cell(panel.fund_list, row, 0);
  const Text name = list_get_cell(panel.fund_list, row, 1);

  show_chart(panel.chart, trend_chart_url(endpoints, code));

  Text secids = fetch_security_list(endpoints, code);
  Text quotes = fetch_detail_quotes(endpoints, secids);
  QuoteLists lists = cut_quote_lists(quotes, platform::process_pending_events);
  fill_holdings(panel.holdings, lists);
  colour_holdings(panel.window, panel.holdings);

  panel.overview.set_text(fund_overview_text(name, fetch_overview_page(endpoints, code)));
}
