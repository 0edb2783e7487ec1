#include "VLRPColorsListController.h"

#include "Foundation/NSBundle.h"
#include "TextKeys.h"
#include "WidgetData.h"
#include "platform/core/ObjC.h"

namespace {

constexpr const char* kClassName = "VLRPColorsListController";

}  // namespace

VLRPColorsListController::VLRPColorsListController() : bundle(NSBundle::bundleForClass(kClassName)) {
  for (const velloria::text::BuiltInColor& color : velloria::text::kBuiltInColors) {
    _colors.emplace_back(color.value);
    _colorTitles.emplace_back(bundle ? bundle->localizedStringForKey(color.titleKey, std::string(), "ColorSettings")
                                     : std::string(color.titleKey));
  }
  platform::Dictionary custom = velloria::widgetDictionary(velloria::readWidgetData(), velloria::kExtraColorsKey);
  for (const auto& [name, value] : custom) {
    _colorTitles.emplace_back(name);
    _colors.push_back(value);
  }
}

std::shared_ptr<VLRPColorsListController::SpecifierArray> VLRPColorsListController::specifiers() {
  if (!_specifiers || _specifiers->empty()) _specifiers = loadSpecifiersFromPlistName("ColorSettings", this);
  return _specifiers;
}

static platform::ClassRegistrar<VLRPColorsListController> registrar(
    kClassName, "VLRSettingsController",
    {{"colors", &VLRPColorsListController::colors}, {"colorTitles", &VLRPColorsListController::colorTitles}});
