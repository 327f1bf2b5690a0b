#include "app/main_window.h"

#include "text/gbk_literal.h"

namespace {

constexpr int kOuterWidth = 1213;
constexpr int kOuterHeight = 676;

std::vector<platform::ListColumn> columns(
    std::initializer_list<std::pair<const char*, int>> titles_and_widths) {
  std::vector<platform::ListColumn> result;
  for (const auto& [title, width] : titles_and_widths) {
    result.push_back(platform::ListColumn{.title = gbk(title), .width = width});
  }
  return result;
}

}  // namespace

MainWindow::MainWindow()
    : window({.title = {}, .outer_width = kOuterWidth, .outer_height = kOuterHeight}),
      按钮1(window, {.geometry = {10, 11, 94, 56}, .text = gbk("导入关注列表")}),
      按钮3(window, {.geometry = {122, 10, 94, 56}, .text = gbk("保存关注列表")}),
      分组框1(window, {.geometry = {248, 3, 200, 68}, .text = gbk("刷新频率")}),
      编辑框2(分组框1, {.geometry = {9, 20, 48, 32},
                        .text = gbk("185"),
                        .font = platform::Font{.face = gbk("方正粗黑宋简体"), .pixel_height = 16},
                        .centred = true}),
      时钟1({.parent = &分组框1, .geometry = {57, 20, 32, 32}, .period_ms = 0}),
      标签2(分组框1, {.geometry = {72, 26, 24, 24}, .text = gbk("秒")}),
      按钮4(分组框1, {.geometry = {96, 18, 88, 40}, .text = gbk("刷新")}),
      标签1(window, {.geometry = {464, 0, 72, 16}, .text = gbk("基金代码：")}),
      编辑框1(window,
              {.geometry = {464, 16, 120, 40},
               .text = {},
               .font = platform::Font{.pixel_height = 21, .charset = platform::kCharsetGb2312}}),
      按钮2(window, {.geometry = {592, 16, 152, 40}, .text = gbk("添加关注基金")}),
      超级列表框1(window, {.geometry = {-1, 75, 745, 301},
                           .columns = columns({{"基金代码", 80},
                                               {"基金名称", 200},
                                               {"预估净值", 100},
                                               {"涨幅", 100},
                                               {"累计净值", 100},
                                               {"更新时间", 150}}),
                           .full_row_select = true,
                           .grid_lines = true,
                           .sort_descending = false}),
      分组框3(window, {.geometry = {0, 379, 744, 269}, .text = gbk("今日走势图")}),
      图片框1(window, {.geometry = {4, 396, 732, 241}, .visible = false}),
      分组框2(window, {.geometry = {752, 4, 448, 260}, .text = gbk("基内前十股")}),
      超级列表框2(window, {.geometry = {758, 18, 436, 239},
                           .columns = columns({{"股票代码", 80},
                                               {"股票名称", 80},
                                               {"最新价", 70},
                                               {"市盈率", 110},
                                               {"涨跌幅", 80}}),
                           .full_row_select = false,
                           .grid_lines = true,
                           .sort_descending = true,
                           .font = platform::Font{.face = gbk("微软雅黑"),
                                                  .pixel_height = 12,
                                                  .charset = platform::kCharsetGb2312}}),
      分组框4(window, {.geometry = {752, 274, 448, 224}, .text = gbk("基金概况")}),
      标签3(分组框4, {.geometry = {14, 24, 418, 176}, .text = {}, .word_wrap = true}) {}
