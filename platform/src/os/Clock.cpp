#include "platform/os/Clock.h"

#include <cmath>
#include <ctime>

namespace platform {
namespace {

// Seconds between 1970-01-01 (time_t's epoch) and 2001-01-01 (Core
// Foundation's).
constexpr double kUnixToReference = 978307200.0;

std::tm toTm(const CivilTime& time) {
  std::tm tm{};
  tm.tm_year = time.year - 1900;
  tm.tm_mon = time.month - 1;
  tm.tm_mday = time.day;
  tm.tm_hour = time.hour;
  tm.tm_min = time.minute;
  tm.tm_sec = time.second;
  tm.tm_isdst = -1;
  return tm;
}

Date fromUnix(std::time_t t) { return Date{static_cast<double>(t) - kUnixToReference}; }

}  // namespace

Date now() {
  std::timespec ts{};
  std::timespec_get(&ts, TIME_UTC);
  return Date{static_cast<double>(ts.tv_sec) - kUnixToReference + ts.tv_nsec / 1e9};
}

CivilTime localTimeOf(Date date) {
  std::time_t t = static_cast<std::time_t>(std::floor(date.seconds + kUnixToReference));
  std::tm tm{};
  ::localtime_r(&t, &tm);
  return CivilTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

Date dateFromLocalTime(const CivilTime& time) {
  // The wall time read as UTC, moved by the zone's offset at that instant,
  // then by the offset at the corrected instant when a change of offset lies
  // between. mktime would do the same but reads the zone file again on every
  // call.
  std::tm tm = toTm(time);
  std::time_t asUTC = ::timegm(&tm);
  auto offsetAt = [](std::time_t t) {
    std::tm local{};
    ::localtime_r(&t, &local);
    return local.tm_gmtoff;
  };
  std::time_t guess = asUTC - offsetAt(asUTC);
  long corrected = offsetAt(guess);
  return fromUnix(asUTC - corrected);
}

Date dateFromUTC(const CivilTime& time) {
  std::tm tm = toTm(time);
  return fromUnix(::timegm(&tm));
}

}  // namespace platform
