// A temporary device root for one test: created empty, exported as the
// process's device root, and removed with everything in it afterwards.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/os/DeviceRoot.h"

namespace testing_support {

class TempRoot {
 public:
  TempRoot() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "velloria-XXXXXX").string();
    path_ = mkdtemp(tmpl.data());
    platform::setDeviceRoot(path_.string());
  }
  ~TempRoot() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempRoot(const TempRoot&) = delete;
  TempRoot& operator=(const TempRoot&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The host path of a device path, its parent directories created.
  std::string file(const std::string& devicePath) const {
    std::filesystem::path p = path_ / devicePath.substr(devicePath.front() == '/' ? 1 : 0);
    std::filesystem::create_directories(p.parent_path());
    return p.string();
  }

 private:
  std::filesystem::path path_;
};

}  // namespace testing_support
