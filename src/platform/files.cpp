#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace platform {
namespace {

namespace fs = std::filesystem;

// A replacement is written to "<name>.saving-XXXXXX" beside its target and
// renamed over it. The name is distinct from anything a user would call a
// copy of the list, so leftovers of an interrupted replacement can be
// removed without touching the user's own files.
const std::string kTemporaryInfix = ".saving-";
constexpr std::size_t kRandomPart = 6;  // the XXXXXX that mkstemp fills in

// Writes every byte at `offset` onwards, retrying short writes and
// interruptions.
bool write_all(int fd, const std::string& bytes, off_t offset) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n =
        ::pwrite(fd, bytes.data() + done, bytes.size() - done, offset + static_cast<off_t>(done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Flushes the directory entry of a rename to disk; failures only weaken
// durability after a power cut, not the content, so they are not reported.
void sync_directory(const fs::path& directory) {
  int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// The file a write to `path` lands in: symbolic links followed to their
// final target, which need not exist yet (a dangling link is written through,
// as a plain write would). Gives up on a loop after 40 links, as the kernel
// does.
fs::path final_target(const fs::path& path) {
  fs::path current = path;
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(current, error))) return current;
    fs::path next = fs::read_symlink(current, error);
    if (error) return current;
    current = next.is_absolute() ? next : current.parent_path() / next;
  }
  return current;
}

mode_t usual_new_file_mode() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// The permission bits a newly created target gets.
mode_t new_file_mode(const ReplaceOptions& options) {
  struct stat model {};
  if (!options.permissions_from.empty() && ::stat(options.permissions_from.c_str(), &model) == 0) {
    return model.st_mode & 0777;
  }
  return usual_new_file_mode();
}

enum class RenameOutcome {
  kReplaced,
  kFailed,      // the target is untouched; nothing else to try
  kUseInPlace,  // the folder takes no new file, or the owner cannot be kept
};

// Writes `bytes` to a new file beside `target` with the old file's owner and
// `mode`, flushes it and renames it over `target`. `old` is the target's
// status, nullptr when it does not exist yet.
RenameOutcome replace_by_rename(const fs::path& target, const std::string& bytes,
                                const struct stat* old, mode_t mode) {
  std::string temporary = target.string() + kTemporaryInfix + std::string(kRandomPart, 'X');
  int fd = ::mkstemp(temporary.data());
  if (fd < 0) return RenameOutcome::kUseInPlace;
  auto give_up = [&](RenameOutcome outcome) {
    ::close(fd);
    ::unlink(temporary.c_str());
    return outcome;
  };
  struct stat made {};
  if (::fstat(fd, &made) != 0) return give_up(RenameOutcome::kFailed);
  if (old != nullptr && (made.st_uid != old->st_uid || made.st_gid != old->st_gid) &&
      ::fchown(fd, old->st_uid, old->st_gid) != 0) {
    return give_up(RenameOutcome::kUseInPlace);
  }
  // After fchown, which clears set-user-ID and set-group-ID bits.
  if (::fchmod(fd, mode) != 0) return give_up(RenameOutcome::kFailed);
  if (!write_all(fd, bytes, 0) || ::fsync(fd) != 0) return give_up(RenameOutcome::kFailed);
  if (::close(fd) != 0) {
    ::unlink(temporary.c_str());
    return RenameOutcome::kFailed;
  }
  if (std::rename(temporary.c_str(), target.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return RenameOutcome::kFailed;
  }
  sync_directory(target.parent_path().empty() ? fs::path(".") : target.parent_path());
  return RenameOutcome::kReplaced;
}

// Rewrites the existing file `target` in place. The room for a longer
// content is reserved first, so a full file system fails the write before a
// byte of the old content is touched.
bool rewrite_in_place(const fs::path& target, const std::string& bytes) {
  int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat old {};
  bool ok = ::fstat(fd, &old) == 0;
  auto size = static_cast<off_t>(bytes.size());
  if (ok && size > old.st_size && ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, size) != 0) {
    // A file system that cannot reserve room is written all the same.
    ok = errno == EOPNOTSUPP;
  }
  ok = ok && write_all(fd, bytes, 0) && ::ftruncate(fd, size) == 0 && ::fsync(fd) == 0;
  return ::close(fd) == 0 && ok;
}

// True for "<name>.saving-XXXXXX" with six letters or digits.
bool is_temporary_of(const std::string& entry, const std::string& name) {
  const std::string prefix = name + kTemporaryInfix;
  if (entry.size() != prefix.size() + kRandomPart || !entry.starts_with(prefix)) return false;
  for (std::size_t i = prefix.size(); i < entry.size(); ++i) {
    char c = entry[i];
    bool letter_or_digit =
        (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    if (!letter_or_digit) return false;
  }
  return true;
}

// Removes the plain files beside `target` that interrupted replacements of
// it left. Failures leave the leftover for a later save.
void remove_leftovers(const fs::path& target) {
  fs::path directory = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  const std::string name = target.filename().string();
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(directory, error)) {
    std::error_code ignored;
    if (is_temporary_of(entry.path().filename().string(), name) &&
        fs::is_regular_file(entry.symlink_status(ignored))) {
      fs::remove(entry.path(), ignored);
    }
  }
}

class DiskFileSystem final : public FileSystem {
 public:
  std::string program_directory() const override {
    std::error_code error;
    fs::path exe = fs::read_symlink("/proc/self/exe", error);
    if (error) return {};
    std::string directory = exe.parent_path().string();
    while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
    return directory;
  }

  std::optional<std::string> read_file(const std::string& path) const override {
    std::error_code error;
    if (fs::is_directory(path, error)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
  }

  bool replace_file(const std::string& path, const std::string& bytes,
                    const ReplaceOptions& options) override {
    fs::path target = final_target(path);
    struct stat old {};
    bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) return false;
    if (exists && !S_ISREG(old.st_mode)) return false;
    mode_t mode = exists ? old.st_mode & 07777 : new_file_mode(options);
    RenameOutcome outcome = replace_by_rename(target, bytes, exists ? &old : nullptr, mode);
    bool replaced =
        outcome == RenameOutcome::kReplaced ||
        (outcome == RenameOutcome::kUseInPlace && exists && rewrite_in_place(target, bytes));
    if (replaced) remove_leftovers(target);
    return replaced;
  }
};

FileSystem*& current() {
  static FileSystem* installed = nullptr;
  return installed;
}

}  // namespace

FileSystem& disk_file_system() {
  static auto* disk = new DiskFileSystem();
  return *disk;
}

FileSystem& file_system() { return current() != nullptr ? *current() : disk_file_system(); }

FileSystem* set_file_system(FileSystem* replacement) {
  FileSystem* previous = current();
  current() = replacement;
  return previous;
}

}  // namespace platform
