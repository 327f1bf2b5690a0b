// The disk answers about writable paths, the user's data folder and making
// folders.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/files.h"

namespace {

namespace fs = std::filesystem;

// Sets an environment variable (nullopt: unsets it) for its lifetime.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      ::setenv(name, value->c_str(), 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~ScopedVariable() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(UserFolders, DataDirectoryFollowsXdgThenHome) {
  struct Case {
    std::optional<std::string> xdg_data_home;
    std::optional<std::string> home;
    std::string expected;
  };
  const Case cases[] = {
      {"/srv/data", "/home/a", "/srv/data"},
      {std::nullopt, "/home/a", "/home/a/.local/share"},
      {"", "/home/a/", "/home/a/.local/share"},
      {"relative/data", "/home/a", "/home/a/.local/share"},  // only an absolute path counts
      {std::nullopt, "/", "/.local/share"},
  };
  platform::FileSystem& disk = platform::disk_file_system();
  for (const Case& c : cases) {
    ScopedVariable xdg("XDG_DATA_HOME", c.xdg_data_home);
    ScopedVariable home("HOME", c.home);
    EXPECT_EQ(disk.user_data_directory(), c.expected)
        << c.xdg_data_home.value_or("(unset)") << " " << c.home.value_or("(unset)");
  }
  // Without HOME the account's home folder from the user database.
  ScopedVariable xdg("XDG_DATA_HOME", std::nullopt);
  ScopedVariable home("HOME", std::nullopt);
  std::string found = disk.user_data_directory();
  EXPECT_TRUE(found.empty() || found.ends_with("/.local/share")) << found;
}

TEST(UserFolders, WritableAndCreateDirectoriesOnARealFolder) {
  std::string pattern = (fs::temp_directory_path() / "fundwatch-folders-XXXXXX").string();
  ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
  fs::path dir = pattern;
  platform::FileSystem& disk = platform::disk_file_system();
  EXPECT_TRUE(disk.writable(dir.string()));
  EXPECT_FALSE(disk.writable((dir / "missing").string()));
  EXPECT_FALSE(disk.writable(""));

  EXPECT_TRUE(disk.create_directories((dir / "a/b/c").string()));
  EXPECT_TRUE(fs::is_directory(dir / "a/b/c"));
  EXPECT_TRUE(disk.create_directories((dir / "a/b/c").string()));  // already there
  { std::ofstream(dir / "file") << "x"; }
  EXPECT_TRUE(disk.writable((dir / "file").string()));
  EXPECT_FALSE(disk.create_directories((dir / "file/sub").string()));  // a file in the way
  fs::remove_all(dir);
}

}  // namespace
