// The months that ICU 72's Chinese calendar gets wrong between 1901 and 2100,
// as the published calendar has them. ICU estimates new moons and solar terms
// to some minutes and always in UTC+8; where one falls that close to midnight
// ICU starts a month a day early or late, or puts a leap month in the wrong
// place. The table was found by comparing every day with a precise
// computation of new moons and solar terms (tests/host/settings/preview).
#pragma once

#include <chrono>
#include <optional>

#include "LunarCalendar.h"

namespace settings_preview {

// The published lunar date of a day inside one of the months ICU gets wrong;
// nothing for every other day.
std::optional<LunarDate> correctedLunarDate(std::chrono::sys_days day);

}  // namespace settings_preview
