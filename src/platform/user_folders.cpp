// The disk answers of FileSystem about writable paths and the user's data
// folder, shared by every file system that does not answer them itself.
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/files.h"

namespace platform {

bool FileSystem::writable(const std::string& path) const {
  return !path.empty() && ::access(path.c_str(), W_OK) == 0;
}

std::string FileSystem::user_data_directory() const {
  const char* data_home = std::getenv("XDG_DATA_HOME");
  if (data_home != nullptr && data_home[0] == '/') return data_home;
  std::string home;
  if (const char* variable = std::getenv("HOME"); variable != nullptr && variable[0] == '/') {
    home = variable;
  } else if (const passwd* user = ::getpwuid(::getuid());
             user != nullptr && user->pw_dir != nullptr && user->pw_dir[0] == '/') {
    home = user->pw_dir;
  }
  if (home.empty()) return {};
  while (home.size() > 1 && home.back() == '/') home.pop_back();
  return (home == "/" ? "" : home) + "/.local/share";
}

bool FileSystem::create_directories(const std::string& path) {
  std::error_code error;
  std::filesystem::create_directories(path, error);
  return std::filesystem::is_directory(path, error);
}

}  // namespace platform
