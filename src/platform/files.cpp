#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace platform {
namespace {

// Writes every byte, retrying short writes and interruptions.
bool write_all(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
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
void sync_directory(const std::filesystem::path& directory) {
  int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

class DiskFileSystem final : public FileSystem {
 public:
  std::string program_directory() const override {
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    std::string directory = exe.parent_path().string();
    while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
    return directory;
  }

  std::optional<std::string> read_file(const std::string& path) const override {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
  }

  bool replace_file(const std::string& path, const std::string& bytes) override {
    std::filesystem::path target(path);
    std::filesystem::path directory = target.parent_path();
    if (directory.empty()) directory = ".";
    std::string temporary = (directory / (target.filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(temporary.data());
    if (fd < 0) return false;
    // mkstemp creates 0600; give the file the usual mode of a new file.
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    bool written = write_all(fd, bytes) && ::fsync(fd) == 0;
    bool closed = ::close(fd) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
      ::unlink(temporary.c_str());
      return false;
    }
    sync_directory(directory);
    return true;
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
