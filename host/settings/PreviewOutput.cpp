#include "PreviewOutput.h"

#include <unicode/utf8.h>

#include <algorithm>
#include <cstdio>

#include "Json.h"
#include "platform/core/TerminalText.h"

namespace settings_preview {
namespace {

using settings_host::jsonString;

std::string isoDate(const std::chrono::year_month_day& d) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(d.year()), static_cast<unsigned>(d.month()),
                static_cast<unsigned>(d.day()));
  return text;
}

std::string hexColor(std::uint32_t rgb) {
  char text[8];
  std::snprintf(text, sizeof text, "%06X", rgb & 0xFFFFFFu);
  return text;
}

const char* typeName(bool lunar) { return lunar ? "lunar" : "solar"; }

// The longest prefix of already visible text that fits `columns`, padded
// with spaces to exactly that many.
std::string fit(const std::string& text, int columns) {
  std::string out;
  int used = 0;
  for (int32_t i = 0, n = static_cast<int32_t>(text.size()); i < n;) {
    int32_t start = i;
    UChar32 c = 0;
    U8_NEXT(text.data(), i, n, c);
    int w = c < 0 ? 1 : static_cast<int>(platform::codePointColumns(static_cast<char32_t>(c)));
    if (used + w > columns) break;
    used += w;
    out.append(text, static_cast<std::size_t>(start), static_cast<std::size_t>(i - start));
  }
  return out + std::string(static_cast<std::size_t>(columns - used), ' ');
}

std::string colored(const std::string& text, std::uint32_t rgb, bool on) {
  if (!on) return text;
  char start[32];
  std::snprintf(start, sizeof start, "\x1b[38;2;%u;%u;%um", rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF);
  return start + text + "\x1b[0m";
}

std::uint32_t colorOf(const Preview& preview, const char* key, std::uint32_t fallback) {
  for (const auto& [k, rgb] : preview.colors)
    if (k == key) return rgb;
  return fallback;
}

}  // namespace

std::string previewJSON(const Preview& preview) {
  std::string json;
  json.reserve(4096);
  json.append("{\"view\": \"").append(preview.weekView ? "week" : "month");
  json.append("\", \"today\": \"").append(isoDate(preview.today)).append("\", \"colors\": {");
  for (std::size_t i = 0; i < preview.colors.size(); ++i) {
    json.append(i ? ", " : "").append(jsonString(preview.colors[i].first));
    json.append(": \"").append(hexColor(preview.colors[i].second)).append("\"");
  }
  json.append("}, \"days\": [");
  for (std::size_t i = 0; i < preview.days.size(); ++i) {
    const PreviewDay& day = preview.days[i];
    json.append(i ? ", " : "").append("{\"date\": \"").append(isoDate(day.date));
    json.append("\", \"weekday\": ").append(std::to_string(day.weekday)).append(", \"lunar\": ");
    if (day.lunar) {
      json.append("{\"month\": ").append(std::to_string(day.lunar->month));
      json.append(", \"day\": ").append(std::to_string(day.lunar->day));
      json.append(", \"leap\": ").append(day.lunar->leap ? "true" : "false");
      json.append(", \"text\": ").append(jsonString(lunarDayText(*day.lunar))).append("}");
    } else {
      json.append("null");
    }
    json.append(", \"holidays\": [");
    for (std::size_t h = 0; h < day.holidays.size(); ++h) {
      json.append(h ? ", " : "").append("{\"name\": ").append(jsonString(day.holidays[h].name));
      json.append(", \"type\": \"").append(typeName(day.holidays[h].lunar)).append("\"}");
    }
    json.append("], \"events\": [");
    for (std::size_t e = 0; e < day.events.size(); ++e) {
      json.append(e ? ", " : "").append("{\"title\": ").append(jsonString(day.events[e].title));
      json.append(", \"calendar\": ").append(jsonString(day.events[e].calendar)).append("}");
    }
    json.append("]}");
  }
  json.append("], \"unmatched\": [");
  for (std::size_t i = 0; i < preview.unmatched.size(); ++i) {
    const UnmatchedHoliday& u = preview.unmatched[i];
    json.append(i ? ", " : "").append("{\"date\": ").append(jsonString(u.date));
    json.append(", \"name\": ").append(jsonString(u.name));
    json.append(", \"type\": \"").append(typeName(u.lunar)).append("\"}");
  }
  return json.append("]}");
}

std::string previewGrid(const Preview& preview, const GridStyle& style) {
  static const char* const kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  // Seven columns with a space between them; at least three columns a day.
  int cell = std::max(3, (std::max(style.width, 8) - 6) / 7);
  cell = std::min(cell, 16);
  bool color = style.trueColor;
  std::uint32_t text = colorOf(preview, "textColor", 0xFFFFFF), today = colorOf(preview, "todayColor", 0xFF0000);
  std::uint32_t weekend = colorOf(preview, "weekendColor", 0xA8A8AD), event = colorOf(preview, "eventColor", 0x66FF00);
  std::uint32_t solar = colorOf(preview, "solarHolidayColor", 0xFFA500);
  std::uint32_t lunar = colorOf(preview, "lunarHolidayColor", 0x00BFFF);

  std::string out;
  if (!preview.days.empty()) {
    const auto& first = preview.days.front().date;
    char title[64];
    std::snprintf(title, sizeof title, "%04d-%02u%s", static_cast<int>(first.year()), static_cast<unsigned>(first.month()),
                  preview.weekView ? " (week)" : "");
    out += title + std::string("\n");
  }
  std::string heading;
  for (int i = 0; i < 7; ++i) heading += (i ? " " : "") + fit(kWeekdays[i], cell);
  while (!heading.empty() && heading.back() == ' ') heading.pop_back();
  out += heading + "\n";

  std::size_t next = 0;
  while (next < preview.days.size()) {
    // One week: the days of this row, in their weekday columns.
    std::vector<const PreviewDay*> row(7, nullptr);
    do {
      row[preview.days[next].weekday] = &preview.days[next];
      ++next;
    } while (next < preview.days.size() && preview.days[next].weekday != 0);
    std::size_t lines = 2;
    for (const PreviewDay* d : row)
      if (d) lines = std::max(lines, 2 + d->holidays.size() + d->events.size());
    for (std::size_t line = 0; line < lines; ++line) {
      std::string rendered;
      for (int column = 0; column < 7; ++column) {
        const PreviewDay* d = row[static_cast<std::size_t>(column)];
        std::string piece = std::string(static_cast<std::size_t>(cell), ' ');
        if (d && line == 0) {
          bool isToday = d->date == preview.today;
          std::string number = std::to_string(static_cast<unsigned>(d->date.day()));
          if (isToday && !color) number = "[" + number + "]";
          std::uint32_t rgb = isToday ? today : (column == 0 || column == 6) ? weekend : text;
          piece = colored(fit(number, cell), rgb, color);
        } else if (d && line == 1) {
          piece = colored(fit(d->lunar ? lunarDayText(*d->lunar) : "", cell), text, color);
        } else if (d && line - 2 < d->holidays.size()) {
          const PreviewHoliday& h = d->holidays[line - 2];
          piece = colored(fit(platform::visibleText(h.name), cell), h.lunar ? lunar : solar, color);
        } else if (d && line - 2 - d->holidays.size() < d->events.size()) {
          piece = colored(fit(platform::visibleText(d->events[line - 2 - d->holidays.size()].title), cell), event, color);
        }
        rendered += (column ? " " : "") + piece;
      }
      while (!rendered.empty() && rendered.back() == ' ') rendered.pop_back();
      out += rendered + "\n";
    }
  }
  for (const UnmatchedHoliday& u : preview.unmatched)
    out += "not shown: " + platform::visibleText(u.date) + " " + platform::visibleText(u.name) + "\n";
  return out;
}

}  // namespace settings_preview
