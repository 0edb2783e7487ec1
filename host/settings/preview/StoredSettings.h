// What the stored settings say about the widget's look, read once for a
// preview: the view type, whether lunar dates show, the colours, the chosen
// calendars and the custom holidays.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/Value.h"

namespace settings_preview {

struct StoredSettings {
  bool weekView = false;
  bool showLunar = true;
  // Each colour setting of the colour items list, in its order: the key and
  // the colour as the exported colour getter reads it (0xRRGGBB, each
  // component clamped to one byte).
  std::vector<std::pair<std::string, std::uint32_t>> colors;
  // The identifiers under "calendars"; nothing while the key is absent or
  // not an array of strings (every calendar shows).
  std::optional<std::vector<std::string>> calendars;
  // "solar-festivals" and "lunar-festivals" of the widget data file: date
  // text to holiday name, in file order.
  platform::Dictionary solarHolidays;
  platform::Dictionary lunarHolidays;
};

// Reads the preference domain, the widget data file and the settings
// bundle's plists (for the defaults of unset settings) as they are now.
StoredSettings readStoredSettings();

}  // namespace settings_preview
