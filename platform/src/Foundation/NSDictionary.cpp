#include "Foundation/NSDictionary.h"

#include "platform/os/DeviceRoot.h"
#include "platform/plist/PropertyList.h"

std::optional<platform::Dictionary> NSDictionary::dictionaryWithContentsOfFile(const std::string& devicePath) {
  return platform::readDictionaryFile(platform::resolveDevicePath(devicePath));
}
