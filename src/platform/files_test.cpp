// The disk file system: the program's directory, whole-file reads, and
// replacements that leave either the old content or the new one.
#include "platform/files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

class DiskFilesTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "fundwatch-files-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir = pattern;
  }
  void TearDown() override {
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir);
  }

  static void write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  // Names in the folder, to see that no temporary file stays behind.
  std::vector<std::string> names() const {
    std::vector<std::string> result;
    for (const auto& entry : fs::directory_iterator(dir)) {
      result.push_back(entry.path().filename());
    }
    std::sort(result.begin(), result.end());
    return result;
  }

  platform::FileSystem& disk = platform::disk_file_system();
  fs::path dir;
};

TEST_F(DiskFilesTest, ProgramDirectoryHoldsTheRunningExecutable) {
  std::string directory = disk.program_directory();
  ASSERT_FALSE(directory.empty());
  EXPECT_NE(directory.back(), '/');
  EXPECT_EQ(fs::path(directory), fs::read_symlink("/proc/self/exe").parent_path());
  EXPECT_EQ(&platform::file_system(), &disk);
}

TEST_F(DiskFilesTest, ReadGivesEveryByteOrNothing) {
  const std::string bytes("A\r\n\0B\n\xB0\xA1", 8);
  write(dir / "f", bytes);
  EXPECT_EQ(disk.read_file(dir / "f"), bytes);
  write(dir / "empty", "");
  EXPECT_EQ(disk.read_file(dir / "empty"), "");
  EXPECT_EQ(disk.read_file(dir / "missing"), std::nullopt);
  EXPECT_EQ(disk.read_file(dir), std::nullopt);  // a folder
}

TEST_F(DiskFilesTest, ReplaceCreatesAndReplacesWholeFiles) {
  const std::string path = dir / "gzlist.txt";
  ASSERT_TRUE(disk.replace_file(path, "990001\r\n990002\r\n"));
  EXPECT_EQ(disk.read_file(path), "990001\r\n990002\r\n");
  ASSERT_TRUE(disk.replace_file(path, "9\r\n"));  // shorter: nothing of the old is left
  EXPECT_EQ(disk.read_file(path), "9\r\n");
  ASSERT_TRUE(disk.replace_file(path, ""));
  EXPECT_EQ(fs::file_size(path), 0u);
  EXPECT_EQ(names(), std::vector<std::string>{"gzlist.txt"});
  // A new file gets the usual permissions, not the temporary file's 0600.
  EXPECT_NE(fs::status(path).permissions() & fs::perms::group_read, fs::perms::none);
}

TEST_F(DiskFilesTest, FailedReplaceLeavesTheTargetAndNoTemporaryFile) {
  // A folder in the file's place cannot be replaced, whoever runs the test.
  fs::create_directory(dir / "gzlist.txt");
  write(dir / "gzlist.txt" / "inside", "x");
  EXPECT_FALSE(disk.replace_file(dir / "gzlist.txt", "990001\r\n"));
  EXPECT_TRUE(fs::is_directory(dir / "gzlist.txt"));
  EXPECT_EQ(names(), std::vector<std::string>{"gzlist.txt"});
  // A folder that does not exist.
  EXPECT_FALSE(disk.replace_file(dir / "no" / "gzlist.txt", "x"));
}

TEST_F(DiskFilesTest, ReadOnlyFolderKeepsTheOldFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  const std::string path = dir / "gzlist.txt";
  write(path, "old\r\n");
  fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_FALSE(disk.replace_file(path, "new\r\n"));
  EXPECT_EQ(disk.read_file(path), "old\r\n");
}

}  // namespace
