#include "VLRPListController.h"

#include "ColorItems.h"
#include "EventKit/EKEventStore.h"
#include "UIKit/UIApplication.h"
#include "platform/core/ObjC.h"

namespace {

platform::ClassRegistrar<VLRPListController> registrar(
    "VLRPListController", "VLRSettingsController",
    {{"widgetVersion", &VLRPListController::widgetVersion},
     {"username", &VLRPListController::username},
     {"setViewType:forSpecifier:", &VLRPListController::setViewType},
     {"resetColors", &VLRPListController::resetColors},
     {"feedback", &VLRPListController::feedback},
     {"controllerWillAppear", &VLRPListController::controllerWillAppear}});

}  // namespace

std::shared_ptr<PSListController::SpecifierArray> VLRPListController::specifiers() {
  if (!_specifiers) _specifiers = loadSpecifiersFromPlistName("Main", this);
  return _specifiers;
}

void VLRPListController::setRootController(PSRootController* root) {
  if (root && !rootController()) controllerWillAppear();
  VLRSettingsController::setRootController(root);
}

void VLRPListController::controllerWillAppear() {
  auto store = std::make_shared<EKEventStore>();
  specifiers();
  std::shared_ptr<PSSpecifier> row = specifierForID(kSelectCalendarID);
  if (row) row->setProperty(platform::Value(!store->calendars().empty()), "enabled");
}

platform::Value VLRPListController::widgetVersion() const { return platform::Value(kWidgetVersion); }

platform::Value VLRPListController::username() const { return platform::Value(kUsername); }

void VLRPListController::setViewType(const platform::Value& value, PSSpecifier* specifier) {
  setPreferenceValue(value, specifier);
}

void VLRPListController::resetColors() {
  for (const platform::Value& item : velloria::colorItems(*this)) {
    const platform::Dictionary* entry = item.dictionary();
    if (!entry) continue;
    const platform::Value* key = entry->find("key");
    if (!key || !key->isString()) continue;
    const platform::Value* fallback = entry->find("default");
    setPreferenceValue(fallback ? *fallback : platform::Value(), *key->string());
  }
}

void VLRPListController::feedback() { UIApplication::sharedApplication()->openURL(kFeedbackURL); }
