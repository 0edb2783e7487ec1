// The Chinese calendar of the system's ICU, as it computes it: right on most
// days, one day off at some new moons and a month off around some leap months
// (see LunarCorrections.h).
#pragma once

#include <chrono>
#include <memory>
#include <optional>

#include <unicode/uversion.h>

#include "LunarCalendar.h"

U_NAMESPACE_BEGIN
class Calendar;
U_NAMESPACE_END

namespace settings_preview {

class IcuChineseCalendar {
 public:
  IcuChineseCalendar();
  ~IcuChineseCalendar();
  IcuChineseCalendar(const IcuChineseCalendar&) = delete;
  IcuChineseCalendar& operator=(const IcuChineseCalendar&) = delete;

  // ICU's lunar date of a day; nothing when ICU fails.
  std::optional<LunarDate> dateOf(std::chrono::sys_days day);

 private:
  std::unique_ptr<icu::Calendar> calendar_;
};

}  // namespace settings_preview
