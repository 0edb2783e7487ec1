// VLRPListController: the widget's main pane, the one the settings entry opens
// (the bundle's principal class).
//
// Its rows come from the bundle plist "Main"; it supplies the getters,
// setters and actions those rows name: widgetVersion, username,
// setViewType:forSpecifier:, resetColors, feedback. It enables the row
// "selectcalendar" only when the device has event calendars, checked once,
// when the pane is first attached to a root controller.
#pragma once

#include <memory>

#include "VLRSettingsController.h"

class VLRPListController : public VLRSettingsController {
 public:
  // The widget version shown by the version row.
  static constexpr const char* kWidgetVersion = "1.5.1";
  // The author handle shown by the author row.
  static constexpr const char* kUsername = "@quietharbor";
  // The identifier of the row that opens the calendars pane.
  static constexpr const char* kSelectCalendarID = "selectcalendar";
  // The package manager's page of this package, opened by feedback.
  static constexpr const char* kFeedbackURL = "cydia://package/com.quietharbor.velloria";

  // The rows of "Main" bound to this pane, loaded on the first call and
  // returned as they stand afterwards.
  std::shared_ptr<SpecifierArray> specifiers() override;

  // Attaching to a root controller for the first time (a non-null root while
  // none is set) runs controllerWillAppear first; every call, nil included,
  // is then passed on to the list controller.
  void setRootController(PSRootController* root) override;

  // Sets the "enabled" property of the "selectcalendar" row to a boolean: true
  // exactly when the event store has at least one calendar. The rows are
  // loaded first when they are not yet, since a host may attach the pane
  // before it asks for them. Without such a row nothing changes.
  void controllerWillAppear();

  // Getters of the version and author rows.
  platform::Value widgetVersion() const;
  platform::Value username() const;

  // setViewType:forSpecifier: — stores the value through
  // setPreferenceValue:specifier: unchanged (framework store, then the row's
  // "key" in the preference domain).
  void setViewType(const platform::Value& value, PSSpecifier* specifier);

  // Writes each colour setting's default back: for every entry of the "items"
  // array of the bundle's "ColorSettings.plist", in order, one
  // setPreferenceValue(default, key) — a full rewrite of the domain each. An
  // entry without a "default" removes its key. Entries that are not
  // dictionaries or have no string "key" (group rows of that plist) are
  // skipped. A missing resource or "items" array does nothing. The rows on
  // screen are not reloaded.
  void resetColors();

  // Asks the shared application to open kFeedbackURL. The result is not
  // checked.
  void feedback();
};
