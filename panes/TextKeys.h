// The string-table keys the panes' own code shows, in one place: texts of the
// table "Main", and the titles of the built-in colours in "ColorSettings".
// The bundle's string tables must hold a text for each, in every language.
#pragma once

#include <array>

namespace velloria::text {

// Alerts.
inline constexpr const char* kError = "error";
inline constexpr const char* kUnstorableText = "text cannot be stored";
// The custom colours editor.
inline constexpr const char* kColorForm = "color form";
inline constexpr const char* kColorFormatHint = "color format hint";
inline constexpr const char* kColorNameLabel = "color name label";
inline constexpr const char* kColorValueLabel = "color value label";
inline constexpr const char* kAddedColors = "added colors";
inline constexpr const char* kDuplicatedColorName = "duplicated color name";
inline constexpr const char* kInvalidColorValue = "invalid color value";
// The custom holidays editor.
inline constexpr const char* kHolidayForm = "holiday form";
inline constexpr const char* kHolidayType = "holiday type";
inline constexpr const char* kSolarHoliday = "solar holiday";
inline constexpr const char* kLunarHoliday = "lunar holiday";
inline constexpr const char* kHolidayDateFormatHint = "holiday date format hint";
inline constexpr const char* kHolidayNameLabel = "holiday name label";
inline constexpr const char* kHolidayValueLabel = "holiday value label";
inline constexpr const char* kEmptyHolidayNameOrDate = "empty holiday name or date";
inline constexpr const char* kDuplicatedHolidayDate = "duplicated holiday date";
// The calendars pane.
inline constexpr const char* kCalendarSettingsFooter = "calendar settings footer";

inline constexpr std::array kMainTable = {
    kError,           kUnstorableText,       kColorForm,          kColorFormatHint,
    kColorNameLabel,  kColorValueLabel,      kAddedColors,        kDuplicatedColorName,
    kInvalidColorValue, kHolidayForm,        kHolidayType,        kSolarHoliday,
    kLunarHoliday,    kHolidayDateFormatHint, kHolidayNameLabel,  kHolidayValueLabel,
    kEmptyHolidayNameOrDate, kDuplicatedHolidayDate, kCalendarSettingsFooter};

// The built-in colours of the colour scheme pane, in table order: value and
// title key (table "ColorSettings").
struct BuiltInColor {
  const char* value;
  const char* titleKey;
};
inline constexpr std::array<BuiltInColor, 11> kBuiltInColors = {{
    {"FFFFFF", "white"},
    {"A8A8AD", "gray"},
    {"FF00FF", "pink"},
    {"FF0000", "rose red"},
    {"FFA500", "orange"},
    {"00BFFF", "sky blue"},
    {"F0DC82", "light yellow"},
    {"66FF00", "apple green"},
    {"9966CC", "purple"},
    {"00FFFF", "cyan"},
    {"CD9575", "antique brass"},
}};

}  // namespace velloria::text
