// Test support: an in-memory file system with a program directory of the
// test's choosing, whose reads or replacements can be made to fail on
// purpose. While a ScopedFileSystem lives, the program's operations use it.
// User-interface thread only.
#pragma once

#include <map>
#include <set>
#include <string>

#include "platform/files.h"

namespace platform {

class MemoryFileSystem final : public FileSystem {
 public:
  explicit MemoryFileSystem(std::string program_directory = "/programs/fundwatch");

  std::string program_directory() const override { return directory_; }
  std::optional<std::string> read_file(const std::string& path) const override;
  bool replace_file(const std::string& path, const std::string& bytes,
                    const ReplaceOptions& options = {}) override;
  // Writable: the program directory, a file in `files` or a folder in
  // `directories`, unless `read_only` holds it.
  bool writable(const std::string& path) const override;
  std::string user_data_directory() const override { return data_directory; }
  // Adds `path` to `directories`; fails when `read_only` holds it or a
  // folder above it.
  bool create_directories(const std::string& path) override;

  // The files by path, as last written.
  std::map<std::string, std::string> files;
  bool fail_reads = false;              // every read_file finds nothing
  bool fail_replacements = false;       // every replace_file fails, leaving the file as it was
  std::set<std::string> failing_paths;  // replace_file of these paths fails
  int replacements = 0;                 // replace_file calls so far, failed ones included

  // What this user may write, and where the user's data folder is.
  std::set<std::string> read_only;    // files and folders this user may not write
  std::set<std::string> directories;  // folders besides the program directory
  std::string data_directory = "/home/fund/.local/share";  // user_data_directory()

 private:
  std::string directory_;
};

// Puts a file system in place of the disk for its lifetime.
class ScopedFileSystem {
 public:
  explicit ScopedFileSystem(FileSystem& replacement) : previous_(set_file_system(&replacement)) {}
  ~ScopedFileSystem() { set_file_system(previous_); }
  ScopedFileSystem(const ScopedFileSystem&) = delete;
  ScopedFileSystem& operator=(const ScopedFileSystem&) = delete;

 private:
  FileSystem* previous_;
};

}  // namespace platform
