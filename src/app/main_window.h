// MainWindow: the program's one window and every control on it, each member
// named as the handlers know it. Constructing it creates the window centred
// on the screen with all controls, not yet shown. Owns its controls;
// user-interface thread only.
#pragma once

#include "platform/button.h"
#include "platform/edit_box.h"
#include "platform/group_box.h"
#include "platform/label.h"
#include "platform/picture_box.h"
#include "platform/report_list_view.h"
#include "platform/timer.h"
#include "platform/window.h"

struct MainWindow {
  MainWindow();

  // Declared in creation order: later controls lie above earlier ones.
  platform::Window window;
  platform::Button 按钮1;                // import the watch list
  platform::Button 按钮3;                // save the watch list
  platform::GroupBox 分组框1;            // refresh frequency
  platform::EditBox 编辑框2;             // refresh period in seconds
  platform::Timer 时钟1;                 // refresh timer
  platform::Label 标签2;                 // "秒"
  platform::Button 按钮4;                // refresh now
  platform::Label 标签1;                 // "基金代码："
  platform::EditBox 编辑框1;             // fund code to add
  platform::Button 按钮2;                // add the watched fund
  platform::ReportListView 超级列表框1;  // the fund list
  platform::GroupBox 分组框3;            // today's trend chart
  platform::PictureBox 图片框1;          // the trend chart
  platform::GroupBox 分组框2;            // top ten holdings
  platform::ReportListView 超级列表框2;  // the holdings list
  platform::GroupBox 分组框4;            // fund overview
  platform::Label 标签3;                 // the overview text
};
