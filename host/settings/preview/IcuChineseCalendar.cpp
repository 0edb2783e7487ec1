#include "IcuChineseCalendar.h"

#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

namespace settings_preview {
namespace {

// ICU counts Chinese years from 2637 BCE.
constexpr int kIcuYearOffset = 2637;

}  // namespace

IcuChineseCalendar::IcuChineseCalendar() {
  UErrorCode status = U_ZERO_ERROR;
  // In GMT a day's midnight is the start of its date, whatever the machine's zone.
  calendar_.reset(icu::Calendar::createInstance(*icu::TimeZone::getGMT(), icu::Locale("@calendar=chinese"), status));
  if (U_FAILURE(status)) calendar_.reset();
}

IcuChineseCalendar::~IcuChineseCalendar() = default;

std::optional<LunarDate> IcuChineseCalendar::dateOf(std::chrono::sys_days day) {
  if (!calendar_) return std::nullopt;
  UErrorCode status = U_ZERO_ERROR;
  calendar_->setTime(static_cast<UDate>(day.time_since_epoch().count()) * U_MILLIS_PER_DAY, status);
  LunarDate date{};
  date.year = calendar_->get(UCAL_EXTENDED_YEAR, status) - kIcuYearOffset;
  date.month = calendar_->get(UCAL_MONTH, status) + 1;
  date.day = calendar_->get(UCAL_DATE, status);
  date.leap = calendar_->get(UCAL_IS_LEAP_MONTH, status) != 0;
  if (U_FAILURE(status)) return std::nullopt;
  return date;
}

}  // namespace settings_preview
