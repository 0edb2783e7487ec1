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

// An editor's changes to the entries under keys of the file, made since they
// last reached it: per key, entry -> its new value, nil for an entry removed.
using WidgetDataChanges = std::vector<std::pair<std::string, platform::Dictionary>>;

// The one rewrite. Under an advisory lock beside the file: removes the
// file's stale temporaries, reads the whole file (or starts empty), and for
// each key in order takes the dictionary the file holds under it now (empty
// when the key is absent or holds no dictionary), applies the changes to it
// (sets each changed entry, removes each nil one) keeping its other entries,
// and sets the key to the result, so the key is written even without
// changes; then writes the whole file back atomically. Other keys are
// carried over as read. Editors in several processes so keep each other's
// entries; in one process the file's dictionary equals the editor's own.
// False when the file could not be written: the old file is intact, and the
// caller keeps its changes for its next write.
bool writeWidgetData(const WidgetDataChanges& changes);

}  // namespace velloria
