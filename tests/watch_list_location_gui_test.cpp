// An installed copy, whose folder the user may not write: import and save use
// gzlist.txt in the user's data folder and leave the program's folder alone.
#include "fund_window_fixture.h"

namespace {

TEST_F(FundWindowTest, InstalledCopyImportsAndSavesInTheDataFolder) {
  const std::string program_list = "/opt/fundwatch/gzlist.txt";
  const std::string data_list = "/home/fund/.local/share/fundwatch/gzlist.txt";
  files.read_only = {"/opt/fundwatch", program_list};
  files.files[program_list] = "990001\r\n";
  files.files[data_list] = "990002\r\n990003\r\n";

  w.按钮1.click();
  EXPECT_EQ(codes(), (std::vector<Text>{"990003", "990002"}));
  add("990004");
  w.按钮3.click();
  EXPECT_TRUE(notices().empty());
  EXPECT_EQ(files.files[data_list], "990004\r\n990003\r\n990002\r\n");
  EXPECT_EQ(files.files[program_list], "990001\r\n");
}

}  // namespace
