#include "WidgetData.h"

#include "platform/os/DeviceRoot.h"
#include "platform/os/FileSystem.h"
#include "platform/plist/PropertyList.h"

namespace velloria {

std::optional<platform::Dictionary> readWidgetData() {
  return platform::readDictionaryFile(platform::resolveDevicePath(kWidgetDataPath));
}

platform::Dictionary widgetDictionary(const std::optional<platform::Dictionary>& file, const std::string& key) {
  if (!file) return {};
  const platform::Value* v = file->find(key);
  return v && v->dictionary() ? *v->dictionary() : platform::Dictionary();
}

bool writeWidgetData(const WidgetDataChanges& changes) {
  std::string path = platform::resolveDevicePath(kWidgetDataPath);
  // Editors in two processes each read just before writing; the lock keeps
  // one from writing between the other's read and write.
  platform::FileLock lock(path + ".lock");
  if (lock.held()) platform::removeStaleTemporaries(path);
  platform::Dictionary file = platform::readDictionaryFile(path).value_or(platform::Dictionary());
  for (const auto& [key, entries] : changes) {
    platform::Value* current = file.find(key);
    platform::Dictionary merged;
    if (current && current->dictionary()) merged = std::move(*current->dictionary());
    for (const auto& [entry, value] : entries) {
      if (value.isNil())
        merged.remove(entry);
      else
        merged.set(entry, value);
    }
    file.set(key, std::move(merged));
  }
  return platform::writePropertyListFile(path, platform::Value(std::move(file)));
}

}  // namespace velloria
