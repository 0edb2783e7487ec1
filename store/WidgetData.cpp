#include "Velloria/WidgetData.h"

#include "platform/DeviceRoot.h"
#include "platform/FileSystem.h"
#include "platform/PropertyList.h"

namespace velloria {

std::optional<platform::Dictionary> readWidgetData() {
  return platform::readDictionaryFile(platform::resolveDevicePath(kWidgetDataPath));
}

platform::Dictionary widgetDictionary(const std::optional<platform::Dictionary>& file, const std::string& key) {
  if (!file) return {};
  const platform::Value* v = file->find(key);
  return v && v->dictionary() ? *v->dictionary() : platform::Dictionary();
}

bool writeWidgetData(const std::vector<std::pair<std::string, platform::Dictionary>>& keys) {
  std::string path = platform::resolveDevicePath(kWidgetDataPath);
  // Editors in two processes each read just before writing; the lock keeps
  // one from writing between the other's read and write.
  platform::FileLock lock(path + ".lock");
  if (lock.held()) platform::removeStaleTemporaries(path);
  platform::Dictionary file = platform::readDictionaryFile(path).value_or(platform::Dictionary());
  for (const auto& [key, dictionary] : keys) file.set(key, dictionary);
  return platform::writePropertyListFile(path, platform::Value(std::move(file)));
}

}  // namespace velloria
