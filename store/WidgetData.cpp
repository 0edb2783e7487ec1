#include "WidgetData.h"

#include "Foundation/NSDictionary.h"

namespace velloria {

std::optional<platform::Dictionary> readWidgetData() {
  return NSDictionary::dictionaryWithContentsOfFile(kWidgetDataPath);
}

platform::Dictionary widgetDictionary(const std::optional<platform::Dictionary>& file, const std::string& key) {
  if (!file) return {};
  const platform::Value* v = file->find(key);
  return v && v->dictionary() ? *v->dictionary() : platform::Dictionary();
}

bool writeWidgetData(const WidgetDataChanges& changes) {
  // Editors in two processes each read just before writing; the lock keeps
  // one from writing between the other's read and write.
  return NSDictionary::updateContentsOfFile(kWidgetDataPath, [&](platform::Dictionary& file) {
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
  });
}

}  // namespace velloria
