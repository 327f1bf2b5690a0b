// The disk file system on a real folder: the program's directory, whole-file
// reads, and replacements that keep what a plain write keeps (links,
// permissions, owner, a file in a read-only folder) while leaving either the
// old content or the new one, even when the saving process is killed.
#include "platform/files.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <thread>

namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

class DiskFilesTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "fundwatch-files-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir = pattern;
  }
  void TearDown() override {
    if (mounted) ::umount2(dir.c_str(), MNT_DETACH);
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
      if (entry.is_directory()) fs::permissions(entry, fs::perms::owner_all, fs::perm_options::add);
    }
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir);
  }

  static void write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  // Names in a folder, to see that no temporary file stays behind.
  std::vector<std::string> names(const fs::path& folder) const {
    std::vector<std::string> result;
    for (const auto& entry : fs::directory_iterator(folder)) {
      result.push_back(entry.path().filename());
    }
    std::sort(result.begin(), result.end());
    return result;
  }
  std::vector<std::string> names() const { return names(dir); }

  // A small file system of its own in `dir` (root only), so it can be filled.
  bool mount_small_file_system() {
    if (::geteuid() != 0 || ::mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=64k") != 0) {
      return false;
    }
    mounted = true;
    return true;
  }

  // Fills the file system that holds `dir` until no byte more fits.
  void fill_up() {
    std::ofstream filler(dir / "filler", std::ios::binary);
    const std::string block(4096, 'f');
    for (int i = 0; i < 1000 && filler.write(block.data(), block.size()); ++i) filler.flush();
  }

  // The user `run_unprivileged` acts as: nobody when the tests run as root
  // (root writes into read-only folders), else the user running the tests.
  static uid_t unprivileged_user() { return ::geteuid() == 0 ? kNobody : ::geteuid(); }

  // Runs `step` as unprivileged_user(), in a child process when that means
  // giving up root; true when `step` returned true.
  static bool run_unprivileged(const std::function<bool()>& step) {
    if (::geteuid() != 0) return step();
    pid_t child = ::fork();
    if (child == 0) {
      bool dropped =
          ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
      ::_exit(dropped && step() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }

  platform::FileSystem& disk = platform::disk_file_system();
  fs::path dir;
  bool mounted = false;
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

TEST_F(DiskFilesTest, ReadOnlyFolderRewritesAWritableFileInPlace) {
  const fs::path path = dir / "gzlist.txt";
  struct Case {
    const char* what;
    bool file_exists;
    fs::perms file_perms;
    std::string new_content;
    bool replaced;
  };
  const fs::perms rw = fs::perms::owner_read | fs::perms::owner_write;
  const Case cases[] = {
      {"longer", true, rw, "990001\r\n990002\r\n990003\r\n", true},
      {"shorter", true, rw, "9\r\n", true},
      {"empty", true, rw, "", true},
      {"file not writable", true, fs::perms::owner_read, "990009\r\n", false},
      {"no file yet", false, rw, "990009\r\n", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::permissions(dir, fs::perms::owner_all);
    fs::remove(path);
    const std::string old_content = "990001\r\n990002\r\n";
    if (c.file_exists) {
      write(path, old_content);
      ASSERT_EQ(::chown(path.c_str(), unprivileged_user(), static_cast<gid_t>(-1)), 0);
      fs::permissions(path, c.file_perms);
    }
    // Others may enter the folder but not add to it.
    fs::permissions(dir, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                             fs::perms::others_read | fs::perms::others_exec);
    if (::geteuid() != 0) fs::permissions(dir, fs::perms::owner_write, fs::perm_options::remove);
    bool replaced = run_unprivileged([&] { return disk.replace_file(path, c.new_content); });
    EXPECT_EQ(replaced, c.replaced);
    EXPECT_EQ(disk.read_file(path),
              c.file_exists ? std::optional(replaced ? c.new_content : old_content) : std::nullopt);
    if (c.file_exists) {
      EXPECT_EQ(fs::status(path).permissions(), c.file_perms);
    }
    EXPECT_EQ(names().size(), c.file_exists ? 1u : 0u);
  }
}

TEST_F(DiskFilesTest, SymbolicLinksAreWrittenThroughToTheirTarget) {
  fs::create_directory(dir / "lists");
  write(dir / "lists" / "mine.txt", "old\r\n");
  fs::create_symlink("lists/mine.txt", dir / "gzlist.txt");         // relative
  fs::create_symlink(dir / "gzlist.txt", dir / "second-link.txt");  // absolute, to a link
  fs::create_symlink("lists/later.txt", dir / "dangling.txt");

  ASSERT_TRUE(disk.replace_file(dir / "gzlist.txt", "990001\r\n"));
  ASSERT_TRUE(disk.replace_file(dir / "second-link.txt", "990002\r\n"));
  ASSERT_TRUE(disk.replace_file(dir / "dangling.txt", "990003\r\n"));

  EXPECT_EQ(fs::read_symlink(dir / "gzlist.txt"), "lists/mine.txt");
  EXPECT_EQ(fs::read_symlink(dir / "second-link.txt"), dir / "gzlist.txt");
  EXPECT_EQ(fs::read_symlink(dir / "dangling.txt"), "lists/later.txt");
  EXPECT_EQ(disk.read_file(dir / "lists" / "mine.txt"), "990002\r\n");
  EXPECT_EQ(disk.read_file(dir / "lists" / "later.txt"), "990003\r\n");
  EXPECT_EQ(names(dir / "lists"), (std::vector<std::string>{"later.txt", "mine.txt"}));
}

TEST_F(DiskFilesTest, ReplacementKeepsPermissionsAndOwner) {
  const fs::path path = dir / "gzlist.txt";
  write(path, "old\r\n");
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);  // 0600
  // Only root can give a file away; anyone else checks their own group.
  const uid_t owner = ::geteuid() == 0 ? kNobody : ::geteuid();
  const gid_t group = ::geteuid() == 0 ? kNobody : ::getegid();
  ASSERT_EQ(::chown(path.c_str(), owner, group), 0);

  ASSERT_TRUE(disk.replace_file(path, "990001\r\n"));
  struct stat after {};
  ASSERT_EQ(::stat(path.c_str(), &after), 0);
  EXPECT_EQ(after.st_mode & 07777, 0600u);
  EXPECT_EQ(after.st_uid, owner);
  EXPECT_EQ(after.st_gid, group);
  EXPECT_EQ(disk.read_file(path), "990001\r\n");

  // A file created new can take another file's permissions.
  ASSERT_TRUE(disk.replace_file(dir / "copy.txt", "x", {.permissions_from = path}));
  EXPECT_EQ(fs::status(dir / "copy.txt").permissions(),
            fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(DiskFilesTest, FullFileSystemFailsAndKeepsTheOldFile) {
  if (!mount_small_file_system()) GTEST_SKIP() << "needs root to mount a small tmpfs";
  const fs::path path = dir / "gzlist.txt";
  const std::string old_content = "990001\r\n990002\r\n";
  write(path, old_content);
  ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0);
  fill_up();
  const std::string longer(100 * 1024, '9');
  EXPECT_FALSE(disk.replace_file(path, longer));
  EXPECT_EQ(disk.read_file(path), old_content);
  EXPECT_EQ(names(), (std::vector<std::string>{"filler", "gzlist.txt"}));

  // In place, in a folder that takes no new file: the room is missing before
  // a byte is written, so the old content stays whole.
  fs::permissions(dir, fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
  EXPECT_FALSE(run_unprivileged([&] { return disk.replace_file(path, longer); }));
  std::string after = disk.read_file(path).value_or("(missing)");
  EXPECT_TRUE(after == old_content) << after.size() << " bytes: " << after.substr(0, 40);
}

TEST_F(DiskFilesTest, SuccessRemovesOnlyTheLeftoversOfInterruptedReplacements) {
  const std::vector<std::string> leftovers = {"gzlist.txt.saving-Ab12Cd",
                                              "gzlist.txt.saving-zzzzzz"};
  const std::vector<std::string> kept = {
      "gzlist.txt.bak",           "gzlist.txt.backup",
      "gzlist.txt.saving-Ab12C",  "gzlist.txt.saving-Ab12Cde",
      "gzlist.txt.saving-Ab-2Cd", "other.txt.saving-Ab12Cd",
  };
  for (const auto& name : leftovers) write(dir / name, "990001\r\n");
  for (const auto& name : kept) write(dir / name, "990001\r\n");
  fs::create_directory(dir / "gzlist.txt.saving-ZZZZZZ");  // not a plain file

  ASSERT_TRUE(disk.replace_file(dir / "gzlist.txt", "990002\r\n"));
  std::vector<std::string> expected = kept;
  expected.push_back("gzlist.txt");
  expected.push_back("gzlist.txt.saving-ZZZZZZ");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(names(), expected);
}

// A child process saves two lists in turn, without end, and is killed at a
// random moment; the file must hold one of them whole, and the next save
// must leave no temporary file. Bounded: 40 rounds of at most 15 ms each.
TEST_F(DiskFilesTest, KilledSaveLeavesTheOldListOrTheNewOneWhole) {
  const std::string path = dir / "gzlist.txt";
  std::string first, second;
  for (int i = 0; i < 20000; ++i) first += std::to_string(100000 + i) + "\r\n";
  for (int i = 0; i < 12000; ++i) second += std::to_string(500000 + i) + "\r\n";
  ASSERT_TRUE(disk.replace_file(path, first));

  std::mt19937 random(20261211);
  std::uniform_int_distribution<int> delay_us(0, 15000);
  int saw_second = 0;
  for (int round = 0; round < 40; ++round) {
    SCOPED_TRACE(round);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (long i = 0;; ++i) disk.replace_file(path, i % 2 == 0 ? second : first);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(delay_us(random)));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);

    std::optional<std::string> content = disk.read_file(path);
    ASSERT_TRUE(content == first || content == second) << "size " << content.value_or("").size();
    saw_second += content == second ? 1 : 0;
    ASSERT_TRUE(disk.replace_file(path, first));
    ASSERT_EQ(names(), std::vector<std::string>{"gzlist.txt"});
  }
  RecordProperty("rounds_ending_with_the_second_list", saw_second);
}

}  // namespace
