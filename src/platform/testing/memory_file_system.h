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

  // The files by path, as last written.
  std::map<std::string, std::string> files;
  bool fail_reads = false;              // every read_file finds nothing
  bool fail_replacements = false;       // every replace_file fails, leaving the file as it was
  std::set<std::string> failing_paths;  // replace_file of these paths fails
  int replacements = 0;                 // replace_file calls so far, failed ones included

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
