// EKEventStore: the device's event calendars, read from the iCalendar files
// ("*.ics") in /var/mobile/Library/Calendars of the device root.
//
// Each readable file holding a VCALENDAR is one calendar, listed in file-name
// order:
//   title               X-WR-CALNAME, else the file name without ".ics";
//   calendarIdentifier  X-WR-RELCALID, else an uppercase UUID-shaped string
//                       hashed from the file name (the same on every run and
//                       machine).
// Files that are hidden (".name.ics"), unreadable, over the size limit, not
// iCalendar, or whose name, title or identifier is not valid UTF-8 are left
// out. A missing directory means no calendars. A file is parsed once and kept
// for the process until it changes on disk.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "EventKit/EKCalendar.h"
#include "EventKit/EKEvent.h"
#include "platform/core/Value.h"

namespace eventkit {
class CalendarFile;
}

class EKEventStore : public platform::Object {
 public:
  // The device directory the calendars are read from.
  static constexpr const char* kCalendarsDirectory = "/var/mobile/Library/Calendars";

  // Reads the calendars as they are on disk now.
  EKEventStore();

  // The calendars, in file-name order; empty when there are none. A new list
  // each call (of the same calendar objects), so it outlives the store.
  std::vector<std::shared_ptr<EKCalendar>> calendars() const { return calendars_; }

  // The identifier given to a calendar file without X-WR-RELCALID.
  static std::string identifierForFileName(const std::string& fileName);

  // A search for the occurrences overlapping [startDate, endDate) in the
  // calendars given (calendars of this store; nothing: all of them).
  EKEventPredicate predicateForEventsWithStartDate(
      platform::Date startDate, platform::Date endDate,
      std::optional<std::vector<std::shared_ptr<EKCalendar>>> calendars) const;

  // The occurrences a predicate asks for, recurring events expanded, ordered
  // by start date (file order among equal starts).
  std::vector<std::shared_ptr<EKEvent>> eventsMatchingPredicate(const EKEventPredicate& predicate) const;

 private:
  std::vector<std::shared_ptr<EKCalendar>> calendars_;
  std::vector<std::shared_ptr<const eventkit::CalendarFile>> files_;
};
