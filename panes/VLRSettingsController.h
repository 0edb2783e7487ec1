// VLRSettingsController: the base of the ordinary Velloria panes (main,
// colour scheme, calendars, instructions).
//
// It adds one thing to the list controller: every value a row stores, and
// every value a pane stores by hand, lands in the widget's preference domain
// "com.quietharbor.velloria" (the user-defaults persistent domain of that
// name, the same store the exported QHPreference* accessors use).
//
// Each write is a read-modify-write of the whole domain followed by a
// synchronize: nothing is cached from the domain, so keys written by other
// panes or other processes are kept. Results are not checked and nothing is
// reported to the user.
//
// Registered with the class registry as "VLRSettingsController" (superclass
// "PSListController"); subclasses register with it as their superclass so
// that plist rows reach "setPreferenceValue:specifier:" through it.
#pragma once

#include <memory>
#include <string>

#include "Foundation/NSUserDefaults.h"
#include "Preferences/PSListController.h"

class VLRSettingsController : public PSListController {
 public:
  // The preference domain's name, the widget's application identifier.
  static constexpr const char* kPreferenceDomain = "com.quietharbor.velloria";

  VLRSettingsController();
  ~VLRSettingsController() override;

  // userDefaults: the shared NSUserDefaults object, fetched on the first call
  // (from any method of this class) and kept for the controller's life.
  std::shared_ptr<NSUserDefaults> userDefaults();

  // setPreferenceValue:forKey: — writes one key of the preference domain: the
  // domain is read (absent reads as empty), the key set to `value` (a nil
  // value removes it), the whole domain stored back, then synchronized. Even
  // a removal of an absent key rewrites and synchronizes the domain.
  void setPreferenceValue(const platform::Value& value, const std::string& key);

  // setPreferenceValue:specifier: — first the framework's per-row store, then,
  // when the row has a string "key" property, setPreferenceValue(value, key).
  // A row without "key" is stored only by the framework's store; a null row
  // stores nothing.
  void setPreferenceValue(const platform::Value& value, PSSpecifier* specifier) override;

 protected:
  // Empty until userDefaults() first runs.
  std::shared_ptr<NSUserDefaults> _userDefaults;
};
