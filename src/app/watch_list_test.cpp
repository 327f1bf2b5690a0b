// The line rules of the watch-list file: trimming, counting and cutting
// lines, and where the file lives.
#include "app/watch_list.h"

#include <gtest/gtest.h>

#include "platform/testing/memory_file_system.h"

namespace {

TEST(WatchListLines, TrimOuterCrLfRemovesOnePairAtEachEnd) {
  struct Case {
    Text in, out;
  };
  const Case cases[] = {
      {"", ""},
      {"\r\n", ""},  // the leading pair is the trailing one too
      {"\r\n\r\n", ""},
      {"\r\n\r\n\r\n", "\r\n"},
      {"\r\nA\r\n", "A"},
      {"A\r\n\r\n", "A\r\n"},
      {"\n\rA\r", "\n\rA\r"},  // not pairs
      {"A\nB\n", "A\nB\n"},
      {" \r\nA", " \r\nA"},
  };
  for (const Case& c : cases) {
    Text text = c.in;
    trim_outer_crlf(text);
    EXPECT_EQ(text, c.out) << testing::PrintToString(c.in);
  }
}

TEST(WatchListLines, CountLinesCountsLfAndAnUnendedLastLine) {
  struct Case {
    Text text;
    int lines;
  };
  const Case cases[] = {
      {"", 0},       {"A", 1},  {"A\r\n", 1},    {"A\r\nB", 2},
      {"A\nB\n", 2}, {"\n", 1}, {"\r\n\r\n", 2}, {"A\rB\r", 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(count_lines(c.text), c.lines) << testing::PrintToString(c.text);
  }
}

TEST(WatchListLines, TextLineCutsAtCrLfOnly) {
  const Text text = "P\r\n\r\nQ\nR\r\nS";
  struct Case {
    int n;
    Text line;
  };
  const Case cases[] = {
      {0, ""}, {-1, ""}, {1, "P\r\n"}, {2, "\r\n"}, {3, "Q\nR\r\n"}, {4, "S"}, {5, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(text_line(text, c.n), c.line) << c.n;
  EXPECT_EQ(text_line("A\r\n", 2), "");  // no empty line after the last CR LF
  EXPECT_EQ(text_line("", 1), "");
}

TEST(WatchListFile, PathAndReadFileLine) {
  platform::MemoryFileSystem files("/opt/fund");
  platform::ScopedFileSystem scoped(files);
  EXPECT_EQ(watch_list_path(), "/opt/fund/gzlist.txt");
  EXPECT_EQ(read_file_line(watch_list_path(), 1), "");  // missing file
  files.files["/opt/fund/gzlist.txt"] = Text("A\r\nB\0C\r\nD\r\n", 11);
  EXPECT_EQ(read_file_line(watch_list_path(), 1), "A\r\n");
  EXPECT_EQ(read_file_line(watch_list_path(), 2), "B");  // the text ends at the zero byte
  EXPECT_EQ(read_file_line(watch_list_path(), 3), "");
}

TEST(WatchListLines, CodesEndAtCrLfLoneCrOrLoneLf) {
  struct Case {
    Text text;
    std::vector<Text> codes;
  };
  const std::vector<Text> kPqr = {"P", "Q", "R"};
  const Case cases[] = {
      {"", {}},
      {"P\r\nQ\r\nR\r\n", kPqr},
      {"P\nQ\nR", kPqr},
      {"P\rQ\rR\r", kPqr},
      {"P\rQ\nR\r\n", kPqr},
      {"\r\r\rP\rQ\rR\n\n\n\n", kPqr},  // three blank lines dropped at the start
      {"P\r\n\rQ\n\nR", {"P", "", "Q", "", "R"}},
      {"P\r\n\n\r\n\r\r", {"P", ""}},  // the fourth blank line at the end stays
      {" P \r\n", {" P "}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(watch_list_codes(c.text), c.codes) << testing::PrintToString(c.text);
  }
}

TEST(WatchListLines, DropsListedCodesWhenANonBlankLineIsMissing) {
  struct Case {
    const char* what;
    Text old_content;
    std::vector<Text> codes;
    bool drops;
  };
  const Case cases[] = {
      {"no file content", "", {}, false},
      {"same codes", "P\r\nQ\r\n", {"P", "Q"}, false},
      {"reordered", "P\r\nQ\r\n", {"Q", "P"}, false},
      {"one added", "P\r\n", {"N", "P"}, false},
      {"blank lines dropped", "P\r\n\r\n\r\n\r\n\r\n\r\nQ\n", {"Q", "P"}, false},
      {"one removed", "P\r\nQ\r\n", {"Q"}, true},
      {"empty list", "P\r\n", {}, true},
      {"a line past a zero byte", Text("P\r\n\0Q\r\n", 7), {"P"}, true},
      {"another line end", "P\rQ", {"P"}, true},
      {"a bad code", " P\r\n", {"P"}, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(drops_listed_codes(c.old_content, c.codes), c.drops) << c.what;
  }
}

}  // namespace
