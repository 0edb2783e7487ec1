// VLRPCustomizeHolidaysController: the pane in which the user adds and deletes
// custom solar and lunar holidays, kept in the widget data file under
// "solar-festivals" and "lunar-festivals" (date -> name of at most three
// UTF-16 code units).
//
// Rows (flat positions, group rows counted):
//   0  group "holiday form"          1  type choice (0 solar, 1 lunar)
//   2  empty group, footer "holiday date format hint"
//   3  name field                    4  date field (number pad)
//   5  group "solar holiday" (group 2), then one row per solar holiday
//   …  group "lunar holiday" (group 3), then one row per lunar holiday
// Both holiday groups are always present. A holiday row is named by its date,
// shows the name beside it and carries {"_holiday_type": 0|1} as user info.
//
// Commit, when the keyboard has gone with neither field focused: both texts
// trimmed; both empty stops silently; one empty alerts "empty holiday name
// or date" (both fields keep their text); the name is cut to three UTF-16
// code units (never inside a surrogate pair); a date that the chosen type's
// dictionary holds clears the date field, refocuses it for solar only, and
// alerts "duplicated holiday date"; otherwise both fields are cleared, the
// holiday stored, its row appended to its group and the file rewritten. Just
// before that store, typed text that may not be stored (the cut name or the
// date; see velloria::form::storable) is refused: its field is cleared and
// refocused, and the alert "text cannot be stored" shown.
#pragma once

#include <memory>
#include <string>

#include "Preferences/PSEditableListController.h"
#include "UIKit/UIBarButtonItem.h"
#include "platform/core/Value.h"

class VLRPCustomizeHolidaysController : public PSEditableListController {
 public:
  VLRPCustomizeHolidaysController() = default;
  // Stops observing the keyboard.
  ~VLRPCustomizeHolidaysController() override;

  // Builds the rows on the first call (reading the widget data file once and
  // starting to observe the keyboard); returns the current rows afterwards.
  std::shared_ptr<SpecifierArray> specifiers() override;

  // Rewrites both festival keys of the widget data file: the holidays this
  // editor added and deleted since its last successful write are applied to
  // those the file holds now, whose other entries stay; every other key is
  // kept. A failed write is not reported; its changes go with the next write.
  void _persistent();

  // Keyboard will-show: swaps the Done button in, saving the host's button once.
  void keyboardWillShow();
  // Keyboard did-hide: commits the form (see above) unless a field is focused.
  void keyboardDidHide();
  // The Done button: resigns the fields, restores the saved button, ends
  // editing mode.
  void _editDone();

  // A new holiday row for a date of a type (0 solar, 1 lunar).
  std::shared_ptr<PSSpecifier> _holidaySpecifierWithDate(const std::string& date, unsigned long type);
  // The dictionary of the row's "_holiday_type" (missing: 0 solar, 1 lunar,
  // anything else none).
  platform::Dictionary* _holidaysForSpecifier(PSSpecifier* specifier);
  // The name held under the row's date, or nil.
  platform::Value holidayForSpecifier(PSSpecifier* specifier);

  // Forgets the row's holiday and rewrites the file (when the row has a
  // dictionary), then lets the base remove the row. Returns the base's result.
  bool performDeletionActionForSpecifier(PSSpecifier* specifier) override;

  // The type choice: the setter keeps a copy; the getter answers 0 while
  // nothing was chosen.
  void setHolidayType(const platform::Value& value);
  platform::Value holidayType();

  const platform::Dictionary& solarHolidays() const { return _solarHolidays; }
  const platform::Dictionary& lunarHolidays() const { return _lunarHolidays; }
  // The button saved when the keyboard first appeared (null until then).
  const std::shared_ptr<UIBarButtonItem>& editButton() const { return _editButton; }

 private:
  void appendGroup(SpecifierArray& rows, const char* titleKey, const platform::Dictionary& holidays,
                   unsigned long type);
  // The changes not yet written for one of the two holiday dictionaries.
  platform::Dictionary& unsavedFor(const platform::Dictionary& holidays);

  std::shared_ptr<UIBarButtonItem> _editButton;
  platform::Dictionary _solarHolidays;
  platform::Dictionary _lunarHolidays;
  // date -> name added, nil for deleted; not yet written
  platform::Dictionary _unsavedSolar;
  platform::Dictionary _unsavedLunar;
  platform::Value _type;
};
