#include "platform/os/DeviceRoot.h"

#include <mutex>
#include <shared_mutex>

#include "platform/os/Environment.h"

namespace platform {
namespace {

std::shared_mutex rootMutex;
bool rootKnown = false;
std::string rootDir;  // without a trailing slash; "" is the file-system root

std::string normalise(std::string_view root) {
  while (!root.empty() && root.back() == '/') root.remove_suffix(1);
  return std::string(root);
}

// The root, read from the environment the first time it is needed.
std::string currentRoot() {
  {
    std::shared_lock lock(rootMutex);
    if (rootKnown) return rootDir;
  }
  std::unique_lock lock(rootMutex);
  if (!rootKnown) {
    rootDir = normalise(environment("DEVICE_ROOT").value_or("/"));
    rootKnown = true;
  }
  return rootDir;
}

}  // namespace

std::string deviceRoot() { return currentRoot(); }

void setDeviceRoot(std::string_view root) {
  std::unique_lock lock(rootMutex);
  rootDir = normalise(root);
  rootKnown = true;
  setEnvironment("DEVICE_ROOT", rootDir.empty() ? "/" : rootDir);
}

std::string resolveDevicePath(std::string_view devicePath) {
  if (devicePath.empty() || devicePath.front() != '/') return std::string(devicePath);
  std::string resolved = currentRoot();
  resolved.append(devicePath);
  return resolved;
}

}  // namespace platform
