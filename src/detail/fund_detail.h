// The fund detail panel: what a left click on a fund row loads into the
// chart, the holdings list and the overview label, in one synchronous pass
// of four requests. Keeps nothing between clicks; user-interface thread
// only, and other handlers may run inside it while its requests finish.
#pragma once

#include "funddata/endpoints.h"
#include "listview/report_list.h"
#include "platform/label.h"
#include "platform/picture_box.h"
#include "platform/window.h"

// The controls a load reads and writes; all owned by the main window.
struct DetailPanel {
  platform::Window& window;     // parent of the lists' colours
  ReportList& fund_list;        // read: the first selected row's code and name
  platform::PictureBox& chart;  // the trend chart
  ReportList& holdings;         // the top holdings, self-sorting by code
  platform::Label& overview;    // the overview text
};

// Loads the detail of the first selected fund; with no row selected, shows
// the reminder box and changes nothing. The fund's code and name are read
// once, at the start, so rows added or removed during the load cannot
// mix another fund's overview into the panel.
void show_fund_detail(const DetailPanel& panel, const Endpoints& endpoints);
