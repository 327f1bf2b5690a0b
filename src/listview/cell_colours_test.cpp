#include "listview/cell_colours.h"

#include <gtest/gtest.h>

#include "platform/testing/probe.h"

namespace {

using platform::probe::cell_rect;
using platform::probe::grab;
using platform::probe::pixel;

constexpr Colour kWhite = 16777215, kRed = 255, kBlack = 0, kGreen = 65280, kBlue = 0xFF0000;

// The messages that reach the procedure cell_colour_proc replaces.
struct Recorded {
  platform::WindowHandle window;
  unsigned message;
  std::uintptr_t wparam;
  std::intptr_t lparam;
};
std::vector<Recorded> recorded;
platform::WindowProc own_proc = nullptr;  // what the recorder itself replaced

platform::MessageResult recording_proc(platform::WindowHandle window, unsigned message,
                                       std::uintptr_t wparam, std::intptr_t lparam) {
  recorded.push_back({window, message, wparam, lparam});
  platform::call_window_proc(own_proc, window, message, wparam, lparam);
  return 4242;
}

class CellColoursTest : public testing::Test {
 protected:
  CellColoursTest() {
    reset_cell_colours_for_testing();
    recorded.clear();
    for (ReportList* list : {&funds, &holdings}) {
      for (const char* code : {"c", "b", "a"}) list_insert_row(*list, 0, code);
    }
  }

  platform::Window window{{.outer_width = 500, .outer_height = 400}};
  std::vector<platform::ListColumn> columns{{"x", 60}, {"y", 60}, {"z", 60}};
  ReportList funds{window, {.geometry = {0, 0, 240, 150}, .columns = columns, .grid_lines = true}};
  ReportList holdings{window,
                      {.geometry = {0, 200, 240, 150}, .columns = columns, .grid_lines = true}};

  // The colour behind the text: a cell pixel right of any text.
  static Colour background_at(const ReportList& list, int row, int column) {
    platform::Rect cell = cell_rect(list, row, column);
    return pixel(grab(list), cell.left + cell.width - 3, cell.top + cell.height / 2);
  }

  // The darkest and the most bluish pixel in a cell, to tell which pen drew
  // its text.
  static std::pair<int, int> ink(const ReportList& list, int row, int column) {
    platform::RgbaImage image = grab(list);
    platform::Rect cell = cell_rect(list, row, column);
    int darkest = 3 * 255, bluest = -255;
    for (int y = cell.top; y < cell.top + cell.height; ++y) {
      for (int x = cell.left; x < cell.left + cell.width; ++x) {
        Colour c = pixel(image, x, y);
        int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
        darkest = std::min(darkest, r + g + b);
        bluest = std::max(bluest, b - (r + g) / 2);
      }
    }
    return {darkest, bluest};
  }

  static const ListColours* colours_of(const ReportList& list) {
    for (const ListColours& entry : colour_store) {
      if (entry.list == list.handle()) return &entry;
    }
    return nullptr;
  }
};

TEST_F(CellColoursTest, CellsShowTheirRecordedColours) {
  EXPECT_EQ(background_at(funds, 0, 0), kWhite);  // the list alone, before any colour
  for (int column = 0; column < 3; ++column) {
    set_cell_colour(window, funds, 0, column, kWhite, kRed);
    set_cell_colour(window, funds, 1, column, kBlack, kGreen);
  }
  for (int column = 0; column < 3; ++column) {
    EXPECT_EQ(background_at(funds, 0, column), kRed) << column;
    EXPECT_EQ(background_at(funds, 1, column), kGreen) << column;
    EXPECT_EQ(background_at(funds, 2, column), kWhite) << column;  // no record
  }
  // White text on red: no dark pixel in the cell; black text on green: some.
  EXPECT_GT(ink(funds, 0, 0).first, 200);
  EXPECT_LT(ink(funds, 1, 0).first, 60);
  EXPECT_EQ(background_at(holdings, 0, 0), kWhite);  // another list is not coloured
}

TEST_F(CellColoursTest, LeftOutBackgroundIsTheListsOwn) {
  holdings.set_text_background_colour(0x00C0FFEE);
  set_cell_colour(window, holdings, 1, 1, kRed);
  ASSERT_NE(colours_of(holdings), nullptr);
  ASSERT_EQ(colours_of(holdings)->cells.size(), 1u);
  EXPECT_EQ(colours_of(holdings)->cells[0].background_colour, 0x00C0FFEEu);
  EXPECT_EQ(background_at(holdings, 1, 1), 0x00C0FFEEu);
}

TEST_F(CellColoursTest, SameCellTwiceKeepsOneRecordWithNewerColours) {
  set_cell_colour(window, funds, 0, 1, kWhite, kRed);
  set_cell_colour(window, funds, 2, 2, kWhite, kRed);
  set_cell_colour(window, funds, 0, 1, kBlack, kGreen);
  const ListColours* colours = colours_of(funds);
  ASSERT_NE(colours, nullptr);
  ASSERT_EQ(colours->cells.size(), 2u);
  EXPECT_EQ(colours->cells[0].row, 0);  // kept its place in the order first set
  EXPECT_EQ(colours->cells[0].background_colour, kGreen);
  EXPECT_EQ(background_at(funds, 0, 1), kGreen);
}

TEST_F(CellColoursTest, ListsOwnColoursRemoveTheRecordAndPaintBlackOnOwnBackground) {
  funds.set_text_colour(kBlue);
  set_cell_colour(window, funds, 0, 0, kWhite, kRed);
  set_cell_colour(window, funds, 1, 0, kWhite, kRed);
  EXPECT_EQ(background_at(funds, 0, 0), kRed);

  set_cell_colour(window, funds, 0, 0, kBlue, kWhite);  // exactly the list's own pair
  ASSERT_NE(colours_of(funds), nullptr);
  ASSERT_EQ(colours_of(funds)->cells.size(), 1u);
  EXPECT_EQ(colours_of(funds)->cells[0].row, 1);
  EXPECT_EQ(background_at(funds, 0, 0), kWhite);
  auto [darkest, bluest] = ink(funds, 0, 0);
  EXPECT_LT(darkest, 60);  // black text ...
  EXPECT_LT(bluest, 40);   // ... not the list's blue
  // A new cell with the list's own pair leaves no record either.
  set_cell_colour(window, funds, 2, 2, kBlue);
  EXPECT_EQ(colours_of(funds)->cells.size(), 1u);
}

TEST_F(CellColoursTest, RecordsKeepFirstSetOrderAcrossRemovals) {
  for (int row = 0; row < 3; ++row) set_cell_colour(window, funds, row, 0, kWhite, kRed);
  set_cell_colour(window, funds, 1, 0, kBlack, kWhite);  // the list's own pair: removed
  set_cell_colour(window, funds, 2, 0, kBlack, kGreen);  // replaced where it stands
  set_cell_colour(window, funds, 1, 0, kWhite, kRed);    // set anew: last
  const ListColours* colours = colours_of(funds);
  ASSERT_NE(colours, nullptr);
  ASSERT_EQ(colours->cells.size(), 3u);
  EXPECT_EQ(colours->cells[0].row, 0);
  EXPECT_EQ(colours->cells[1].row, 2);
  EXPECT_EQ(colours->cells[1].background_colour, kGreen);
  EXPECT_EQ(colours->cells[2].row, 1);
  EXPECT_EQ(background_at(funds, 1, 0), kRed);
  EXPECT_EQ(background_at(funds, 2, 0), kGreen);
}

TEST_F(CellColoursTest, ClearForgetsOneListOrAll) {
  set_cell_colour(window, funds, 0, 0, kWhite, kRed);
  set_cell_colour(window, holdings, 0, 0, kBlack, kGreen);

  clear_cell_colours(window, &holdings);
  EXPECT_EQ(background_at(holdings, 0, 0), kWhite);
  EXPECT_EQ(background_at(funds, 0, 0), kRed);
  EXPECT_TRUE(colours_of(holdings)->cells.empty());  // the record stays, empty

  set_cell_colour(window, holdings, 0, 0, kBlack, kGreen);
  clear_cell_colours(window);
  EXPECT_EQ(background_at(holdings, 0, 0), kWhite);
  EXPECT_EQ(background_at(funds, 0, 0), kWhite);
  EXPECT_EQ(colour_store.size(), 2u);
}

TEST_F(CellColoursTest, ClearBeforeAnyColourDoesNothing) {
  platform::WindowProc before = platform::get_window_proc(window.handle());
  clear_cell_colours(window, &funds);
  clear_cell_colours(window);
  EXPECT_EQ(platform::get_window_proc(window.handle()), before);
  EXPECT_TRUE(colour_store.empty());
}

TEST_F(CellColoursTest, ColoursStayAtTheirIndexWhenARowIsDeleted) {
  set_cell_colour(window, funds, 0, 0, kWhite, kRed);
  set_cell_colour(window, funds, 1, 0, kBlack, kGreen);
  list_delete_row(funds, 0);
  EXPECT_EQ(list_get_cell(funds, 0, 0), "b");
  EXPECT_EQ(background_at(funds, 0, 0), kRed);    // the former row 1 shows row 0's colours
  EXPECT_EQ(background_at(funds, 1, 0), kGreen);  // the former row 2 shows row 1's
}

TEST_F(CellColoursTest, RecordsOutsideTheListStayAndAreNeverPainted) {
  set_cell_colour(window, funds, 7, 0, kWhite, kRed);
  set_cell_colour(window, funds, 0, 9, kWhite, kRed);
  set_cell_colour(window, funds, -1, 0, kWhite, kRed);
  EXPECT_EQ(colours_of(funds)->cells.size(), 3u);
  for (int row = 0; row < 3; ++row) EXPECT_EQ(background_at(funds, row, 0), kWhite);
}

TEST_F(CellColoursTest, EveryOtherMessageReachesThePreviousProcedureUnchanged) {
  own_proc = platform::set_window_proc(window.handle(), recording_proc);
  set_cell_colour(window, funds, 0, 0, kWhite, kRed);
  ASSERT_EQ(platform::get_window_proc(window.handle()), &cell_colour_proc);
  recorded.clear();

  // A plain message, a notification with another code, a custom draw from
  // a list without a record, and a custom-draw stage the painter ignores.
  platform::NotifyHeader other{.from = funds.handle(), .id = 0, .code = -2};
  platform::ListCustomDraw foreign{
      .header = {.from = holdings.handle(), .code = platform::kNmCustomDraw},
      .draw_stage = platform::kCddsPrepaint};
  platform::ListCustomDraw post{.header = {.from = funds.handle(), .code = platform::kNmCustomDraw},
                                .draw_stage = 0x00010002};  // item post-paint
  struct Case {
    unsigned message;
    std::uintptr_t wparam;
    std::intptr_t lparam;
  };
  for (Case c :
       {Case{0x0401, 7, -9}, Case{platform::kWmNotify, 3, reinterpret_cast<std::intptr_t>(&other)},
        Case{platform::kWmNotify, 0, reinterpret_cast<std::intptr_t>(&foreign)},
        Case{platform::kWmNotify, 0, reinterpret_cast<std::intptr_t>(&post)}}) {
    recorded.clear();
    EXPECT_EQ(platform::send_message(window.handle(), c.message, c.wparam, c.lparam), 4242);
    ASSERT_EQ(recorded.size(), 1u) << c.message;
    EXPECT_EQ(recorded[0].window, window.handle());
    EXPECT_EQ(recorded[0].message, c.message);
    EXPECT_EQ(recorded[0].wparam, c.wparam);
    EXPECT_EQ(recorded[0].lparam, c.lparam);
  }
}

TEST_F(CellColoursTest, CustomDrawStagesOfAColouredList) {
  own_proc = platform::set_window_proc(window.handle(), recording_proc);
  set_cell_colour(window, funds, 1, 2, kBlack, kGreen);
  funds.set_text_colour(kBlue);
  auto send = [&](platform::ListCustomDraw& record) {
    record.header = {.from = funds.handle(), .code = platform::kNmCustomDraw};
    return platform::send_message(window.handle(), platform::kWmNotify, 0,
                                  reinterpret_cast<std::intptr_t>(&record));
  };
  recorded.clear();
  platform::ListCustomDraw prepaint{.draw_stage = platform::kCddsPrepaint};
  platform::ListCustomDraw item{.draw_stage = platform::kCddsItemPrepaint, .item = 1};
  EXPECT_EQ(send(prepaint), 0x20);
  EXPECT_EQ(send(item), 0x20);
  EXPECT_TRUE(recorded.empty());  // answered without the previous procedure

  const std::uint32_t sub_item = platform::kCddsItemPrepaint | platform::kCddsSubItem;
  platform::ListCustomDraw found{.draw_stage = sub_item,
                                 .item = 1,
                                 .sub_item = 2,
                                 .text_colour = 5,
                                 .text_background_colour = 6};
  EXPECT_EQ(send(found), 4242);  // the previous procedure's answer
  EXPECT_EQ(found.text_colour, kBlack);
  EXPECT_EQ(found.text_background_colour, kGreen);
  EXPECT_EQ(found.item, 1u);
  EXPECT_EQ(found.sub_item, 2);

  platform::ListCustomDraw missing{.draw_stage = sub_item,
                                   .item = 2,
                                   .sub_item = 1,
                                   .text_colour = 5,
                                   .text_background_colour = 6};
  EXPECT_EQ(send(missing), 4242);
  EXPECT_EQ(missing.text_colour, kBlack);  // black, not the list's blue
  EXPECT_EQ(missing.text_background_colour, kWhite);
  EXPECT_EQ(recorded.size(), 2u);
}

TEST_F(CellColoursTest, CloseGivesTheWindowItsProcedureBackOnce) {
  own_proc = platform::set_window_proc(window.handle(), recording_proc);
  window.show();
  set_cell_colour(window, funds, 0, 0, kWhite, kRed);
  recorded.clear();

  window.close();
  ASSERT_EQ(recorded.size(), 1u);
  EXPECT_EQ(recorded[0].message, platform::kWmClose);
  EXPECT_EQ(platform::get_window_proc(window.handle()), &recording_proc);
  EXPECT_FALSE(window.visible());

  // Never installed again in this run, and the list now paints by itself.
  set_cell_colour(window, funds, 1, 0, kWhite, kRed);
  EXPECT_EQ(platform::get_window_proc(window.handle()), &recording_proc);
  EXPECT_EQ(background_at(funds, 0, 0), kWhite);
}

}  // namespace
