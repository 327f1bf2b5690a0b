// Whole-file access for the program's one data file: the directory of the
// running executable, reading a file whole, and replacing a file's content
// with what a plain write would keep (link, permissions, owner) but so that
// a reader sees either the old bytes or the new ones wherever the folder
// allows it. The program uses the process-wide file system below; tests swap
// in a fake. User-interface thread only.
#pragma once

#include <optional>
#include <string>

namespace platform {

struct ReplaceOptions {
  // When not empty and the target is created new, it gets the permission
  // bits of this file instead of the usual ones of a new file.
  std::string permissions_from;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The directory holding the running executable, without a trailing
  // separator; empty when it cannot be found.
  virtual std::string program_directory() const = 0;
  // The file's bytes, zero bytes included; nothing when the file is missing
  // or cannot be read.
  virtual std::optional<std::string> read_file(const std::string& path) const = 0;
  // Makes `bytes` the whole content of `path`, creating it when missing. A
  // symbolic link is written through to its target, and an existing file
  // keeps its permissions and owner. The new content is written beside the
  // target and renamed over it; where the folder takes no new file (or the
  // owner cannot be kept that way), the file is rewritten in place after its
  // room is reserved. False on any failure, with the old content whole.
  // After a success no temporary file of an interrupted earlier replacement
  // is left beside the target.
  virtual bool replace_file(const std::string& path, const std::string& bytes,
                            const ReplaceOptions& options = {}) = 0;
};

// The real file system of the process.
FileSystem& disk_file_system();

// The file system the program's operations use: disk_file_system() unless
// a test has put another in its place.
FileSystem& file_system();
// Puts `replacement` in place (nullptr: the disk again) and returns the one
// it replaces. `replacement` must outlive its use.
FileSystem* set_file_system(FileSystem* replacement);

}  // namespace platform
