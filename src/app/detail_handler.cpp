#include "app/detail_handler.h"

#include "detail/fund_detail.h"

void show_fund_detail(const EventContext& context) {
  MainWindow& w = context.window;
  show_fund_detail(DetailPanel{.window = w.window,
                               .fund_list = w.超级列表框1,
                               .chart = w.图片框1,
                               .holdings = w.超级列表框2,
                               .overview = w.标签3},
                   context.endpoints);
}
