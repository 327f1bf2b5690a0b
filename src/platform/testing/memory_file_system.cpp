#include "platform/testing/memory_file_system.h"

#include <utility>

namespace platform {

MemoryFileSystem::MemoryFileSystem(std::string program_directory)
    : directory_(std::move(program_directory)) {}

std::optional<std::string> MemoryFileSystem::read_file(const std::string& path) const {
  if (fail_reads) return std::nullopt;
  auto found = files.find(path);
  if (found == files.end()) return std::nullopt;
  return found->second;
}

bool MemoryFileSystem::replace_file(const std::string& path, const std::string& bytes,
                                    const ReplaceOptions&) {
  ++replacements;
  if (fail_replacements || failing_paths.contains(path)) return false;
  files[path] = bytes;
  return true;
}

}  // namespace platform
