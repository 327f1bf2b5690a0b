// Where gzlist.txt lives: beside a program the user may write to, else in
// the user's data folder; through the in-memory file system and on real
// folders as a user who cannot write the program's folder.
#include "app/watch_list_location.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/files.h"
#include "platform/testing/memory_file_system.h"

namespace {

namespace fs = std::filesystem;

TEST(WatchListLocation, ChoosesByWhatTheUserMayWrite) {
  const std::string program = "/usr/bin";
  const std::string beside = "/usr/bin/gzlist.txt";
  const std::string data = "/home/fund/.local/share";
  enum class File { kNone, kWritable, kReadOnly };
  struct Case {
    const char* name;
    bool folder_writable;
    File file;
    std::string data_directory;
    std::string expected;
  };
  const Case cases[] = {
      {"own folder", true, File::kNone, data, beside},
      {"own folder, read-only list", true, File::kReadOnly, data, beside},
      {"system folder, writable list", false, File::kWritable, data, beside},
      {"system folder, no list", false, File::kNone, data, data + "/fundwatch/gzlist.txt"},
      {"system folder, read-only list", false, File::kReadOnly, data,
       data + "/fundwatch/gzlist.txt"},
      {"system folder, no home", false, File::kNone, "", beside},
  };
  for (const Case& c : cases) {
    platform::MemoryFileSystem files(program);
    platform::ScopedFileSystem scoped(files);
    files.data_directory = c.data_directory;
    if (!c.folder_writable) files.read_only.insert(program);
    if (c.file != File::kNone) files.files[beside] = "000001\r\n";
    if (c.file == File::kReadOnly) files.read_only.insert(beside);
    EXPECT_EQ(watch_list_location(), c.expected) << c.name;
    bool in_data_folder = c.expected != beside;
    EXPECT_EQ(files.directories.contains(data + "/fundwatch"), in_data_folder) << c.name;
  }
}

TEST(WatchListLocation, DataFolderThatCannotBeMadeIsStillTheLocation) {
  // The save then fails and says so, rather than writing somewhere else.
  platform::MemoryFileSystem files("/usr/bin");
  platform::ScopedFileSystem scoped(files);
  files.read_only = {"/usr/bin", "/home/fund/.local"};
  EXPECT_EQ(watch_list_location(), "/home/fund/.local/share/fundwatch/gzlist.txt");
  EXPECT_TRUE(files.directories.empty());
}

// The disk, with the program's folder of the test's choosing.
class FolderFileSystem final : public platform::FileSystem {
 public:
  explicit FolderFileSystem(std::string folder) : folder_(std::move(folder)) {}
  std::string program_directory() const override { return folder_; }
  std::optional<std::string> read_file(const std::string& path) const override {
    return platform::disk_file_system().read_file(path);
  }
  bool replace_file(const std::string& path, const std::string& bytes,
                    const platform::ReplaceOptions& options = {}) override {
    return platform::disk_file_system().replace_file(path, bytes, options);
  }

 private:
  std::string folder_;
};

class WatchListLocationOnDisk : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "fundwatch-location-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir = pattern;
    fs::permissions(dir, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    fs::create_directories(dir / "program");
    fs::create_directories(dir / "data");
    fs::permissions(dir / "data", fs::perms::all);
  }
  void TearDown() override {
    fs::permissions(dir / "program", fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir);
  }

  fs::path dir;
};

TEST_F(WatchListLocationOnDisk, OwnFolderKeepsTheListBesideTheProgram) {
  FolderFileSystem files((dir / "program").string());
  platform::ScopedFileSystem scoped(files);
  EXPECT_EQ(watch_list_location(), (dir / "program/gzlist.txt").string());
  EXPECT_FALSE(fs::exists(dir / "data/fundwatch"));
}

TEST_F(WatchListLocationOnDisk, SystemFolderMovesTheListToTheDataFolder) {
  // A child process that may not write the program's folder: root drops to
  // nobody, as an ordinary user of an installed copy would be; any other
  // user takes the write permission off the folder.
  fs::permissions(dir / "program", fs::perms::owner_read | fs::perms::owner_exec |
                                       fs::perms::group_read | fs::perms::group_exec |
                                       fs::perms::others_read | fs::perms::others_exec);
  std::string expected = (dir / "data/fundwatch/gzlist.txt").string();
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(10);
    ::setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
    FolderFileSystem files((dir / "program").string());
    platform::ScopedFileSystem scoped(files);
    if (files.writable(files.program_directory())) ::_exit(11);
    if (watch_list_location() != expected) ::_exit(12);
    if (!files.replace_file(watch_list_location(), "990001\r\n")) ::_exit(13);
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "10: could not drop root, 11: folder writable, "
                                       "12: another location, 13: save failed";
  EXPECT_EQ(platform::disk_file_system().read_file(expected), "990001\r\n");
  EXPECT_FALSE(fs::exists(dir / "program/gzlist.txt"));
}

}  // namespace
