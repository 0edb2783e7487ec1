// VLRPCalendarsController: the pane in which the user chooses which event
// calendars the widget shows.
//
// One switch row per calendar of the event store, in the store's order, named
// by the calendar's title, its "id" the calendar's identifier; then an empty
// group whose footer is "calendar settings footer". The choice is the
// preference key "calendars": an array of the identifiers of the calendars
// shown. While the key is absent (or holds anything but an array of strings)
// every calendar counts as shown.
#pragma once

#include <memory>

#include "VLRSettingsController.h"

class VLRPCalendarsController : public VLRSettingsController {
 public:
  // The preference key of the choice.
  static constexpr const char* kCalendarsKey = "calendars";

  // Builds the rows on the first call; returns them as they stand afterwards.
  std::shared_ptr<SpecifierArray> specifiers() override;

  // setShowsCalendar:specifier: — both arguments are ignored: the whole array
  // is rebuilt from every row's live switch ("control") in row order and
  // stored under "calendars". A row without a switch counts as off.
  void setShowsCalendar(const platform::Value& value, PSSpecifier* specifier);

  // showsCalendarWithSpecifier: — whether the row's "id" is in the stored
  // array, read from the domain's property-list file itself; true when the
  // file, the key or an array of strings is missing.
  platform::Value showsCalendarWithSpecifier(PSSpecifier* specifier);
};
