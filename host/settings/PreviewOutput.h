// The preview as the host shows it: one line of JSON for scripts and the
// page, or a grid for the terminal.
#pragma once

#include <string>

#include "Preview.h"

namespace settings_preview {

// {"view": "month"|"week", "today": "YYYY-MM-DD", "colors": {KEY: "RRGGBB"},
//  "days": [{"date", "weekday" (0 Sunday), "lunar": {"month", "day", "leap",
//  "text"} or null, "holidays": [{"name", "type": "solar"|"lunar"}],
//  "events": [{"title", "calendar"}]}], "unmatched": [{"date", "name", "type"}]}
std::string previewJSON(const Preview& preview);

// How the grid may draw.
struct GridStyle {
  int width = 80;          // terminal columns
  bool trueColor = false;  // 24-bit colours; else plain text, today in brackets
};

// The days as a week-by-week grid (Sunday first) of up to seven columns, each
// day with its number, lunar text, holidays and events, cut to fit the width;
// the unmatched holidays are listed below it as "not shown: DATE NAME". Text
// from files is shown with control characters made visible.
std::string previewGrid(const Preview& preview, const GridStyle& style);

}  // namespace settings_preview
