#include "platform/os/Environment.h"

#include <cstdlib>
#include <filesystem>

namespace platform {

std::optional<std::string> environment(const char* name) {
  const char* value = std::getenv(name);
  if (!value) return std::nullopt;
  return std::string(value);
}

void setEnvironment(const char* name, const std::string& value) { ::setenv(name, value.c_str(), 1); }

std::string executableDirectory() {
  std::error_code ec;
  std::string directory = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path().string();
  if (ec || directory.empty()) directory = std::filesystem::current_path(ec).string();
  return directory;
}

}  // namespace platform
