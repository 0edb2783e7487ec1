#include "ColorItems.h"

#include "Foundation/NSBundle.h"
#include "Foundation/NSDictionary.h"

namespace velloria {

platform::Array colorItems(const PSListController& pane) {
  std::shared_ptr<NSBundle> bundle = pane.bundle();
  std::optional<std::string> path = bundle ? bundle->pathForResource("ColorSettings", "plist") : std::nullopt;
  if (!path) return {};
  std::optional<platform::Dictionary> settings = NSDictionary::dictionaryWithContentsOfFile(*path);
  const platform::Value* items = settings ? settings->find("items") : nullptr;
  if (!items || !items->isArray()) return {};
  return *items->array();
}

}  // namespace velloria
