#include "VLRSettingsController.h"

#include "platform/core/ObjC.h"

namespace {

using SetByRow = void (VLRSettingsController::*)(const platform::Value&, PSSpecifier*);

platform::ClassRegistrar<VLRSettingsController> registrar(
    "VLRSettingsController", "PSListController",
    {{"setPreferenceValue:specifier:", static_cast<SetByRow>(&VLRSettingsController::setPreferenceValue)}});

}  // namespace

VLRSettingsController::VLRSettingsController() = default;

VLRSettingsController::~VLRSettingsController() = default;

std::shared_ptr<NSUserDefaults> VLRSettingsController::userDefaults() {
  if (!_userDefaults) _userDefaults = NSUserDefaults::standardUserDefaults();
  return _userDefaults;
}

void VLRSettingsController::setPreferenceValue(const platform::Value& value, const std::string& key) {
  std::shared_ptr<NSUserDefaults> defaults = userDefaults();
  platform::Dictionary domain = defaults->persistentDomainForName(kPreferenceDomain).value_or(platform::Dictionary());
  if (value.isNil()) {
    domain.remove(key);
  } else {
    domain.set(key, value);
  }
  defaults->setPersistentDomain(domain, kPreferenceDomain);
  defaults->synchronize();
}

void VLRSettingsController::setPreferenceValue(const platform::Value& value, PSSpecifier* specifier) {
  if (!specifier) return;
  PSListController::setPreferenceValue(value, specifier);
  platform::Value key = specifier->propertyForKey("key");
  if (const std::string* name = key.string()) setPreferenceValue(value, *name);
}
