// The clock and the local time zone: the one place the system and its
// stand-ins read the time or convert between absolute times and the wall
// clock of the machine's zone (TZ, else the system's zone).
#pragma once

#include "platform/core/Value.h"

namespace platform {

// A date and time on a wall clock, without a zone.
struct CivilTime {
  int year = 1970;
  int month = 1;   // 1-12
  int day = 1;     // 1-31
  int hour = 0, minute = 0, second = 0;
};

// The current time.
Date now();

// The local wall-clock time of an absolute time.
CivilTime localTimeOf(Date date);

// The absolute time of a local wall-clock time. A time that a daylight-saving
// change repeats or skips is resolved to one of the instants around it.
Date dateFromLocalTime(const CivilTime& time);

// The absolute time of a wall-clock time in UTC.
Date dateFromUTC(const CivilTime& time);

}  // namespace platform
