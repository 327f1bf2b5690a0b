#include <gtest/gtest.h>

#include "platform/code_page.h"
#include "platform/edit_box.h"
#include "platform/group_box.h"
#include "platform/label.h"
#include "platform/message_box.h"
#include "platform/picture_box.h"
#include "platform/report_list_view.h"
#include "platform/testing/message_box_recorder.h"
#include "platform/testing/probe.h"
#include "platform/timer.h"
#include "platform/window.h"

namespace platform {
namespace {

std::string gbk_of(std::string_view utf8) {
  return wide_to_multibyte(multibyte_to_wide(utf8, kCodePageUtf8), kCodePageGbk);
}

class ControlsTest : public testing::Test {
 protected:
  Window window{{.outer_width = 400, .outer_height = 300}};
};

TEST_F(ControlsTest, EditBoxReportsEveryChange) {
  GroupBox group(window, {.geometry = {10, 10, 200, 100}, .text = gbk_of("刷新频率")});
  EditBox edit(group, {.geometry = {9, 20, 48, 32}, .text = "185", .centred = true});
  EXPECT_EQ(edit.parent(), &group);
  EXPECT_EQ(group.text(), gbk_of("刷新频率"));
  EXPECT_TRUE(edit.centred());
  std::vector<std::string> seen;
  edit.on_text_changed([&] { seen.push_back(edit.text()); });

  edit.set_text("");
  edit.type(gbk_of("3秒"));
  edit.set_text("3" + gbk_of("秒"));  // the same text: no change
  EXPECT_EQ(seen, (std::vector<std::string>{"", "3", "3" + gbk_of("秒")}));
  // A character without a GBK form reads back as "?".
  edit.set_text("");
  edit.type("\xA1\xA1");
  EXPECT_EQ(edit.text(), "\xA1\xA1");
}

TEST_F(ControlsTest, LabelKeepsItsTextExactly) {
  std::string text = gbk_of("基金名称\r\n\r\n成立于2011-01-01\r\n");
  Label label(window, {.geometry = {0, 0, 100, 80}, .text = text, .word_wrap = true});
  EXPECT_EQ(label.text(), text);
  EXPECT_TRUE(label.word_wrap());
}

TEST_F(ControlsTest, TimerPeriodRules) {
  Timer timer({});
  EXPECT_EQ(timer.period(), 0);
  EXPECT_FALSE(timer.running());

  timer.set_period(100000);
  EXPECT_TRUE(timer.running());
  EXPECT_GT(timer.remaining_ms(), 99000);
  probe::wait_until([] { return false; }, 60);
  int before = timer.remaining_ms();
  timer.set_period(100000);  // the same period: the countdown goes on
  EXPECT_LE(timer.remaining_ms(), before);
  EXPECT_LT(timer.remaining_ms(), 99960);

  timer.set_period(200000);  // another period starts a full period later
  EXPECT_GT(timer.remaining_ms(), 199000);
  EXPECT_EQ(timer.period(), 200000);

  for (int stop : {0, -5}) {
    timer.set_period(1000);
    timer.set_period(stop);
    EXPECT_FALSE(timer.running()) << stop;
    EXPECT_EQ(timer.period(), stop);
  }

  int ticks = 0;
  timer.on_elapsed([&] { ++ticks; });
  timer.set_period(5);
  EXPECT_TRUE(probe::wait_until([&] { return ticks >= 2; }, 5000));
}

TEST_F(ControlsTest, PictureBoxTilesFromTheTopLeft) {
  PictureBox box(window, {.geometry = {0, 0, 12, 9}, .visible = false});
  EXPECT_FALSE(box.visible());
  box.show();
  // A 3 x 2 picture: top row red, green, blue; bottom row white, black, red.
  const Colour colours[2][3] = {{0x0000FF, 0x00FF00, 0xFF0000}, {0xFFFFFF, 0x000000, 0x0000FF}};
  RgbaImage image{.width = 3, .height = 2, .pixels = {}};
  for (const auto& row : colours) {
    for (Colour c : row) {
      image.pixels.insert(image.pixels.end(), {static_cast<unsigned char>(c & 0xFF),
                                               static_cast<unsigned char>((c >> 8) & 0xFF),
                                               static_cast<unsigned char>(c >> 16), 255});
    }
  }
  box.set_picture(image);
  ASSERT_TRUE(box.has_picture());
  RgbaImage shown = probe::grab(box);
  EXPECT_EQ(probe::pixel(shown, 0, 0), 0x000000u);  // the one-pixel border
  for (int y = 1; y < 8; ++y) {
    for (int x = 1; x < 11; ++x) {
      EXPECT_EQ(probe::pixel(shown, x, y), colours[(y - 1) % 2][(x - 1) % 3]) << x << "," << y;
    }
  }

  RgbaImage damaged = image;
  damaged.pixels.pop_back();
  for (auto& none : {std::optional<RgbaImage>(), std::optional<RgbaImage>(damaged)}) {
    box.set_picture(image);
    box.set_picture(none);
    EXPECT_FALSE(box.has_picture());
    EXPECT_NE(probe::pixel(probe::grab(box), 4, 4), colours[1][0]);
  }
}

TEST_F(ControlsTest, MessageBoxRecorderAnswersWithoutBlocking) {
  MessageBoxRecorder recorder;
  message_box(gbk_of("基金代码有误！"), gbk_of("提示信息"));
  message_box("b", "a");
  EXPECT_EQ(recorder.shown(), (std::vector<MessageBoxRecorder::Shown>{
                                  {gbk_of("提示信息"), gbk_of("基金代码有误！")}, {"a", "b"}}));
}

class ListEventsTest : public ControlsTest {
 protected:
  ListEventsTest() {
    window.show();
    for (const char* code : {"c", "b", "a"}) list.insert_row(0, code);
    list.on_left_click([this] { events.push_back({'L', list.selected_rows()}); });
    list.on_right_click([this] { events.push_back({'R', list.selected_rows()}); });
    list.on_column_click([this](int column) { events.push_back({'H', {column}}); });
  }
  struct Event {
    char kind;
    std::vector<int> data;  // selection at the time, or the column
    bool operator==(const Event&) const = default;
  };
  ReportListView list{window,
                      {.geometry = {0, 0, 300, 200},
                       .columns = {{"x", 80}, {"y", 80}, {"z", 80}},
                       .full_row_select = true}};
  std::vector<Event> events;
};

TEST_F(ListEventsTest, ClicksSeeTheSelectionTheyMade) {
  Rect row1 = probe::cell_rect(list, 1, 2);
  Rect row2 = probe::cell_rect(list, 2, 0);
  Rect empty = probe::empty_area(list);
  probe::click_list(list, row1.left + 5, row1.top + 3, probe::MouseButton::kLeft);
  probe::click_list(list, row2.left + 5, row2.top + 3, probe::MouseButton::kRight);
  probe::click_list(list, empty.left + 5, empty.top + 5, probe::MouseButton::kRight);
  probe::click_list(list, row1.left + 5, row1.top + 3, probe::MouseButton::kRight);
  probe::click_list(list, empty.left + 5, empty.top + 5, probe::MouseButton::kLeft);
  EXPECT_EQ(events, (std::vector<Event>{{'L', {1}}, {'R', {2}}, {'R', {}}, {'R', {1}}, {'L', {}}}));
  EXPECT_TRUE(list.selected_rows().empty());
}

TEST_F(ListEventsTest, HeaderClickCarriesTheColumn) {
  probe::click_header(list, 2);
  probe::click_header(list, 0);
  EXPECT_EQ(events, (std::vector<Event>{{'H', {2}}, {'H', {0}}}));
  EXPECT_EQ(list.cell_text(0, 0), "a");  // the list does not sort itself on a click
}

TEST_F(ListEventsTest, SettingsAndOwnColours) {
  EXPECT_EQ(list.column_count(), 3);
  EXPECT_EQ(list.column_title(1), "y");
  EXPECT_EQ(list.column_width(2), 80);
  EXPECT_TRUE(list.full_row_select());
  EXPECT_FALSE(list.grid_lines());
  EXPECT_FALSE(list.sorts_descending());
  EXPECT_EQ(list.text_colour(), 0u);
  EXPECT_EQ(list.text_background_colour(), 0xFFFFFFu);
  EXPECT_EQ(report_list_from_handle(list.handle()), &list);
  EXPECT_EQ(report_list_from_handle(window.handle()), nullptr);
}

}  // namespace
}  // namespace platform
