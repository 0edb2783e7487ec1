#include "VLRPCalendarsController.h"
#include "TextKeys.h"

#include "EventKit/EKEventStore.h"
#include "Foundation/NSBundle.h"
#include "Foundation/NSDictionary.h"
#include "UIKit/UISwitch.h"
#include "platform/core/ObjC.h"

namespace {

constexpr const char* kPreferenceFile = "/var/mobile/Library/Preferences/com.quietharbor.velloria.plist";

// The stored identifiers, or nothing when the file, the key or an array of
// strings is missing.
std::optional<platform::Array> storedCalendars() {
  std::optional<platform::Dictionary> domain = NSDictionary::dictionaryWithContentsOfFile(kPreferenceFile);
  const platform::Value* value = domain ? domain->find(VLRPCalendarsController::kCalendarsKey) : nullptr;
  if (!value || !value->array()) return std::nullopt;
  for (const platform::Value& element : *value->array())
    if (!element.isString()) return std::nullopt;
  return *value->array();
}

}  // namespace

std::shared_ptr<VLRPCalendarsController::SpecifierArray> VLRPCalendarsController::specifiers() {
  if (_specifiers) return _specifiers;
  _specifiers = std::make_shared<SpecifierArray>();
  {
    EKEventStore store;
    for (const std::shared_ptr<EKCalendar>& calendar : store.calendars()) {
      auto row = PSSpecifier::preferenceSpecifierNamed(calendar->title(), this, "setShowsCalendar:specifier:",
                                                       "showsCalendarWithSpecifier:", "", PSSwitchCell, "");
      _specifiers->push_back(row);
      row->setProperty(calendar->calendarIdentifier(), "id");
    }
  }
  auto footer = PSSpecifier::emptyGroupSpecifier();
  std::shared_ptr<NSBundle> bundle = this->bundle();
  std::string text = velloria::text::kCalendarSettingsFooter;
  footer->setProperty(bundle ? bundle->localizedStringForKey(text, std::string(), "Main") : text, "footerText");
  _specifiers->push_back(footer);
  return _specifiers;
}

void VLRPCalendarsController::setShowsCalendar(const platform::Value&, PSSpecifier*) {
  platform::Array shown;
  if (_specifiers) {
    for (const std::shared_ptr<PSSpecifier>& row : *_specifiers) {
      const platform::Value* control = row->properties().find("control");
      std::shared_ptr<UISwitch> toggle = control ? control->objectAs<UISwitch>() : nullptr;
      platform::Value id = row->propertyForKey("id");
      if (toggle && toggle->isOn() && !id.isNil()) shown.push_back(id);
    }
  }
  setPreferenceValue(platform::Value(std::move(shown)), std::string(kCalendarsKey));
}

platform::Value VLRPCalendarsController::showsCalendarWithSpecifier(PSSpecifier* specifier) {
  std::optional<platform::Array> stored = storedCalendars();
  if (!stored) return true;
  platform::Value id = specifier ? specifier->propertyForKey("id") : platform::Value();
  for (const platform::Value& element : *stored)
    if (element == id) return true;
  return false;
}

static platform::ClassRegistrar<VLRPCalendarsController> registrar(
    "VLRPCalendarsController", "VLRSettingsController",
    {{"setShowsCalendar:specifier:", &VLRPCalendarsController::setShowsCalendar},
     {"showsCalendarWithSpecifier:", &VLRPCalendarsController::showsCalendarWithSpecifier}});
