#include "Foundation/NSDictionary.h"

#include "platform/os/DeviceRoot.h"
#include "platform/os/FileSystem.h"
#include "platform/plist/PropertyList.h"

std::optional<platform::Dictionary> NSDictionary::dictionaryWithContentsOfFile(const std::string& devicePath) {
  return platform::readDictionaryFile(platform::resolveDevicePath(devicePath));
}

bool NSDictionary::updateContentsOfFile(const std::string& devicePath,
                                        const std::function<void(platform::Dictionary&)>& update) {
  std::string path = platform::resolveDevicePath(devicePath);
  platform::FileLock lock(path + ".lock");
  if (lock.held()) platform::removeStaleTemporaries(path);
  platform::Dictionary file = platform::readDictionaryFile(path).value_or(platform::Dictionary());
  update(file);
  return platform::writePropertyListFile(path, platform::Value(std::move(file)));
}
