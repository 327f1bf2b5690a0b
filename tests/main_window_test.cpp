// MainWindow as a person finds it: every control with its parent, place,
// size, text, visibility and font; the two lists; the event table's wiring.
#include "app/main_window.h"

#include <gtest/gtest.h>

#include <map>

#include "app/event_table.h"
#include "listview/report_list.h"
#include "platform/testing/memory_file_system.h"
#include "platform/testing/probe.h"
#include "text/gbk_literal.h"

namespace {

using platform::Control;
using platform::Rect;

class MainWindowTest : public testing::Test {
 protected:
  MainWindow w;
};

TEST_F(MainWindowTest, ControlsArePlacedAsDesigned) {
  struct Row {
    const char* name;
    const Control* control;
    const Control* parent;
    Rect geometry;
    bool visible;
  };
  const Control* window = &w.window;
  const Row rows[] = {
      {"按钮1", &w.按钮1, window, {10, 11, 94, 56}, true},
      {"按钮3", &w.按钮3, window, {122, 10, 94, 56}, true},
      {"分组框1", &w.分组框1, window, {248, 3, 200, 68}, true},
      {"编辑框2", &w.编辑框2, &w.分组框1, {9, 20, 48, 32}, true},
      {"标签2", &w.标签2, &w.分组框1, {72, 26, 24, 24}, true},
      {"按钮4", &w.按钮4, &w.分组框1, {96, 18, 88, 40}, true},
      {"标签1", &w.标签1, window, {464, 0, 72, 16}, true},
      {"编辑框1", &w.编辑框1, window, {464, 16, 120, 40}, true},
      {"按钮2", &w.按钮2, window, {592, 16, 152, 40}, true},
      {"超级列表框1", &w.超级列表框1, window, {-1, 75, 745, 301}, true},
      {"分组框3", &w.分组框3, window, {0, 379, 744, 269}, true},
      {"图片框1", &w.图片框1, window, {4, 396, 732, 241}, false},
      {"分组框2", &w.分组框2, window, {752, 4, 448, 260}, true},
      {"超级列表框2", &w.超级列表框2, window, {758, 18, 436, 239}, true},
      {"分组框4", &w.分组框4, window, {752, 274, 448, 224}, true},
      {"标签3", &w.标签3, &w.分组框4, {14, 24, 418, 176}, true},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.control->parent(), row.parent) << row.name;
    EXPECT_EQ(row.control->geometry(), row.geometry) << row.name;
    EXPECT_EQ(row.control->visible(), row.visible) << row.name;
  }
  EXPECT_EQ(w.时钟1.parent(), &w.分组框1);
  EXPECT_EQ(w.时钟1.geometry(), (Rect{57, 20, 32, 32}));
  EXPECT_EQ(w.时钟1.period(), 0);
  EXPECT_FALSE(w.时钟1.running());
}

TEST_F(MainWindowTest, TextsAndFonts) {
  EXPECT_EQ(w.按钮1.text(), gbk("导入关注列表"));
  EXPECT_EQ(w.按钮3.text(), gbk("保存关注列表"));
  EXPECT_EQ(w.分组框1.text(), gbk("刷新频率"));
  EXPECT_EQ(w.编辑框2.text(), "185");
  EXPECT_EQ(w.标签2.text(), gbk("秒"));
  EXPECT_EQ(w.按钮4.text(), gbk("刷新"));
  EXPECT_EQ(w.标签1.text(), gbk("基金代码："));
  EXPECT_EQ(w.编辑框1.text(), "");
  EXPECT_EQ(w.按钮2.text(), gbk("添加关注基金"));
  EXPECT_EQ(w.分组框3.text(), gbk("今日走势图"));
  EXPECT_EQ(w.分组框2.text(), gbk("基内前十股"));
  EXPECT_EQ(w.分组框4.text(), gbk("基金概况"));
  EXPECT_EQ(w.标签3.text(), "");
  EXPECT_TRUE(w.标签3.word_wrap());
  EXPECT_FALSE(w.标签2.word_wrap());
  EXPECT_FALSE(w.图片框1.has_picture());
  EXPECT_TRUE(w.编辑框2.centred());
  EXPECT_FALSE(w.编辑框1.centred());

  using platform::Font;
  EXPECT_EQ(w.编辑框2.font(), (Font{.face = gbk("方正粗黑宋简体"), .pixel_height = 16}));
  EXPECT_EQ(w.编辑框1.font(),
            (Font{.face = "", .pixel_height = 21, .charset = platform::kCharsetGb2312}));
  EXPECT_EQ(
      w.超级列表框2.font(),
      (Font{.face = gbk("微软雅黑"), .pixel_height = 12, .charset = platform::kCharsetGb2312}));
  for (const Control* plain :
       std::initializer_list<const Control*>{&w.按钮1, &w.标签3, &w.超级列表框1}) {
    EXPECT_FALSE(plain->font().has_value());
  }
}

TEST_F(MainWindowTest, TheTwoLists) {
  struct Column {
    const char* title;
    int width;
  };
  auto expect_columns = [](const ReportList& list, std::vector<Column> columns) {
    ASSERT_EQ(list_column_count(list), static_cast<int>(columns.size()));
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
      EXPECT_EQ(list.column_title(i), gbk(columns[i].title)) << i;
      EXPECT_EQ(list.column_width(i), columns[i].width) << i;
    }
  };
  expect_columns(w.超级列表框1, {{"基金代码", 80},
                                 {"基金名称", 200},
                                 {"预估净值", 100},
                                 {"涨幅", 100},
                                 {"累计净值", 100},
                                 {"更新时间", 150}});
  expect_columns(
      w.超级列表框2,
      {{"股票代码", 80}, {"股票名称", 80}, {"最新价", 70}, {"市盈率", 110}, {"涨跌幅", 80}});
  for (const ReportList* list : {&w.超级列表框1, &w.超级列表框2}) {
    EXPECT_EQ(list_row_count(*list), 0);
    EXPECT_EQ(list_view_mode(*list), platform::ListViewMode::kReport);
    EXPECT_TRUE(list->grid_lines());
    EXPECT_EQ(list->text_colour(), 0u);
    EXPECT_EQ(list->text_background_colour(), 0xFFFFFFu);
  }
  EXPECT_TRUE(w.超级列表框1.full_row_select());
  EXPECT_FALSE(w.超级列表框2.full_row_select());
  EXPECT_FALSE(w.超级列表框1.sorts_descending());
  EXPECT_TRUE(w.超级列表框2.sorts_descending());
}

TEST_F(MainWindowTest, WindowIsFixedAndCentred) {
  w.window.show();
  Rect frame = w.window.frame_rect();
  Rect screen = w.window.screen_rect();
  EXPECT_EQ(frame, (Rect{screen.left + (screen.width - 1213) / 2,
                         screen.top + (screen.height - 676) / 2, 1213, 676}));
  EXPECT_FALSE(w.window.resizable());
  EXPECT_FALSE(w.window.has_maximise_button());
  EXPECT_TRUE(w.window.has_minimise_button());
}

// Records each handler's event, so the test sees which control drives which.
std::vector<std::pair<WindowEvent, int>> fired;
template <WindowEvent kEvent>
void record(const EventContext& context) {
  fired.push_back({kEvent, context.column});
  EXPECT_EQ(context.endpoints.fund_estimate, "http://127.0.0.1:1");
}

TEST_F(MainWindowTest, EventsReachTheirHandlers) {
  fired.clear();
  using E = WindowEvent;
  static const EventBinding table[] = {
      {E::kCreated, record<E::kCreated>},
      {E::kImportClicked, record<E::kImportClicked>},
      {E::kSaveClicked, record<E::kSaveClicked>},
      {E::kAddClicked, record<E::kAddClicked>},
      {E::kRefreshClicked, record<E::kRefreshClicked>},
      {E::kTimerElapsed, record<E::kTimerElapsed>},
      {E::kIntervalChanged, record<E::kIntervalChanged>},
      {E::kFundListHeaderClicked, record<E::kFundListHeaderClicked>},
      {E::kFundListLeftClick, record<E::kFundListLeftClick>},
      {E::kFundListRightClick, record<E::kFundListRightClick>},
  };
  wire_events(w, Endpoints{.fund_estimate = "http://127.0.0.1:1"}, table);
  w.window.show();
  w.按钮1.click();
  w.按钮3.click();
  w.按钮2.click();
  w.按钮4.click();
  w.编辑框2.type("0");
  using platform::probe::MouseButton;
  platform::probe::click_header(w.超级列表框1, 3);
  Rect empty = platform::probe::empty_area(w.超级列表框1);
  platform::probe::click_list(w.超级列表框1, empty.left + 9, empty.top + 9, MouseButton::kLeft);
  platform::probe::click_list(w.超级列表框1, empty.left + 9, empty.top + 9, MouseButton::kRight);
  w.时钟1.set_period(1);
  ASSERT_TRUE(platform::probe::wait_until([] { return fired.size() >= 10; }, 5000));
  w.时钟1.set_period(0);

  std::vector<std::pair<WindowEvent, int>> expected = {{E::kCreated, -1},
                                                       {E::kImportClicked, -1},
                                                       {E::kSaveClicked, -1},
                                                       {E::kAddClicked, -1},
                                                       {E::kRefreshClicked, -1},
                                                       {E::kIntervalChanged, -1},
                                                       {E::kFundListHeaderClicked, 3},
                                                       {E::kFundListLeftClick, -1},
                                                       {E::kFundListRightClick, -1},
                                                       {E::kTimerElapsed, -1}};
  fired.resize(expected.size());
  EXPECT_EQ(fired, expected);
}

TEST_F(MainWindowTest, EventsWithoutAHandlerDoNothing) {
  fired.clear();
  static const EventBinding table[] = {
      {WindowEvent::kSaveClicked, record<WindowEvent::kSaveClicked>}};
  wire_events(w, Endpoints{.fund_estimate = "http://127.0.0.1:1"}, table);
  w.window.show();
  w.按钮1.click();
  w.编辑框2.type("1");
  w.按钮3.click();
  EXPECT_EQ(fired, (std::vector<std::pair<WindowEvent, int>>{{WindowEvent::kSaveClicked, -1}}));
  // Wiring the program's own table replaces the test's: 按钮3 now saves the
  // (empty) list instead of reaching the recorder.
  platform::MemoryFileSystem files("/bin-dir");
  platform::ScopedFileSystem scoped(files);
  wire_events(w, Endpoints{});
  w.按钮3.click();
  EXPECT_EQ(fired.size(), 1u);
  EXPECT_EQ(files.files, (std::map<std::string, std::string>{{"/bin-dir/gzlist.txt", ""}}));
}

}  // namespace
