// The widget data file, shared with the widget: a property list whose root
// dictionary holds "extra-colors" (colour name -> value), "solar-festivals"
// and "lunar-festivals" (date -> holiday name), and any keys of the widget's
// own, which every rewrite keeps.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/Value.h"

namespace velloria {

inline constexpr const char* kWidgetDataPath = "/System/Library/WeeAppPlugins/Velloria.bundle/velcfg.plist";
inline constexpr const char* kExtraColorsKey = "extra-colors";
inline constexpr const char* kSolarFestivalsKey = "solar-festivals";
inline constexpr const char* kLunarFestivalsKey = "lunar-festivals";

// The file's root dictionary; nothing when the file is missing, unreadable,
// malformed, or its root is not a dictionary.
std::optional<platform::Dictionary> readWidgetData();

// The dictionary under key of a read file: empty when there is no file, no
// such key, or its value is not a dictionary.
platform::Dictionary widgetDictionary(const std::optional<platform::Dictionary>& file, const std::string& key);

// The one rewrite: under an advisory lock beside the file, read the whole
// file (or start empty), set each key in order to its dictionary, write it
// back atomically. Other keys are carried over as read. False when the file
// could not be written; the old file is then intact.
bool writeWidgetData(const std::vector<std::pair<std::string, platform::Dictionary>>& keys);

}  // namespace velloria
