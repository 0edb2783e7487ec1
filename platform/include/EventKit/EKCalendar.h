// EKCalendar: one event calendar of the device, as the event store lists it.
#pragma once

#include <string>

#include "platform/core/Value.h"

class EKCalendar : public platform::Object {
 public:
  EKCalendar(std::string title, std::string calendarIdentifier)
      : title_(std::move(title)), calendarIdentifier_(std::move(calendarIdentifier)) {}

  // The name shown to the user.
  const std::string& title() const { return title_; }
  // An identifier that stays the same for the calendar across runs and
  // machines; what settings store to remember a calendar.
  const std::string& calendarIdentifier() const { return calendarIdentifier_; }

 private:
  std::string title_;
  std::string calendarIdentifier_;
};
