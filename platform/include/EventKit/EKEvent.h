// EKEvent: one occurrence of an event of a calendar, and the predicate that
// asks the event store for the occurrences in a span of time.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "EventKit/EKCalendar.h"
#include "platform/core/Value.h"

class EKEvent : public platform::Object {
 public:
  EKEvent(std::string title, platform::Date startDate, platform::Date endDate, bool allDay,
          std::shared_ptr<EKCalendar> calendar)
      : title_(std::move(title)), startDate_(startDate), endDate_(endDate), allDay_(allDay),
        calendar_(std::move(calendar)) {}

  // SUMMARY; "" when the event has none.
  const std::string& title() const { return title_; }
  // When this occurrence starts and ends. An all-day event runs from local
  // midnight of its first day to local midnight after its last.
  platform::Date startDate() const { return startDate_; }
  platform::Date endDate() const { return endDate_; }
  bool isAllDay() const { return allDay_; }
  const std::shared_ptr<EKCalendar>& calendar() const { return calendar_; }

 private:
  std::string title_;
  platform::Date startDate_, endDate_;
  bool allDay_;
  std::shared_ptr<EKCalendar> calendar_;
};

// The occurrences that overlap [startDate, endDate) in the given calendars
// (every calendar when there is no list).
struct EKEventPredicate {
  platform::Date startDate, endDate;
  std::optional<std::vector<std::shared_ptr<EKCalendar>>> calendars;
};
