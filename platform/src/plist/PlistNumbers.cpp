#include "platform/plist/PlistNumbers.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

namespace platform::plist {
namespace {

std::string_view trimBlanks(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

bool lowerEquals(std::string_view s, std::string_view lower) {
  if (s.size() != lower.size()) return false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != lower[i]) return false;
  }
  return true;
}

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civilFromDays(std::int64_t z, std::int64_t* y, unsigned* m, unsigned* d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  *d = doy - (153 * mp + 2) / 5 + 1;
  *m = mp < 10 ? mp + 3 : mp - 9;
  *y = static_cast<std::int64_t>(yoe) + era * 400 + (*m <= 2);
}

constexpr std::int64_t kSecondsFrom1970To2001 = 978307200;

}  // namespace

std::optional<Value> parseIntegerText(std::string_view text) {
  text = trimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  std::uint64_t magnitude = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (!negative) return Value(static_cast<unsigned long long>(magnitude));
  if (magnitude > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + 1) return std::nullopt;
  return Value(static_cast<long long>(0 - magnitude));
}

std::optional<double> parseRealText(std::string_view text) {
  text = trimBlanks(text);
  bool negative = false;
  std::string_view body = text;
  if (!body.empty() && (body.front() == '-' || body.front() == '+')) {
    negative = body.front() == '-';
    body.remove_prefix(1);
  }
  if (lowerEquals(body, "nan")) return std::numeric_limits<double>::quiet_NaN();
  if (lowerEquals(body, "inf") || lowerEquals(body, "infinity")) {
    return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
  }
  if (body.empty() || body.front() == '-' || body.front() == '+') return std::nullopt;
  double value = 0;
  auto [end, error] = std::from_chars(body.data(), body.data() + body.size(), value, std::chars_format::general);
  if (end != body.data() + body.size()) return std::nullopt;
  if (error == std::errc::result_out_of_range) {
    // Overflow reads as infinity, underflow as zero, as strtod gives them.
    bool tiny = body.find_first_of("eE") != std::string_view::npos &&
                body[body.find_first_of("eE") + 1] == '-';
    value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
  } else if (error != std::errc()) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

std::optional<Date> parseDateText(std::string_view text) {
  text = trimBlanks(text);
  // YYYY-MM-DDTHH:MM:SSZ
  if (text.size() != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
      text[16] != ':' || text[19] != 'Z') {
    return std::nullopt;
  }
  auto number = [&](std::size_t at, std::size_t len, unsigned* out) {
    auto [end, error] = std::from_chars(text.data() + at, text.data() + at + len, *out);
    return error == std::errc() && end == text.data() + at + len;
  };
  unsigned year, month, day, hour, minute, second;
  if (!number(0, 4, &year) || !number(5, 2, &month) || !number(8, 2, &day) || !number(11, 2, &hour) ||
      !number(14, 2, &minute) || !number(17, 2, &second)) {
    return std::nullopt;
  }
  if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60) {
    return std::nullopt;
  }
  std::int64_t days = daysFromCivil(year, month, day);
  std::int64_t unixSeconds = days * 86400 + hour * 3600 + minute * 60 + second;
  return Date{static_cast<double>(unixSeconds - kSecondsFrom1970To2001)};
}

std::string realText(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value > 0 ? "+infinity" : "-infinity";
  char buffer[64];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  (void)error;  // 64 bytes always hold the shortest form of a double
  return std::string(buffer, end);
}

std::string dateText(Date date) {
  double whole = std::floor(date.seconds);
  std::int64_t unixSeconds = kSecondsFrom1970To2001;
  if (std::isfinite(whole) && std::fabs(whole) < 1e15) unixSeconds += static_cast<std::int64_t>(whole);
  std::int64_t days = unixSeconds >= 0 ? unixSeconds / 86400 : (unixSeconds - 86399) / 86400;
  std::int64_t secondsOfDay = unixSeconds - days * 86400;
  std::int64_t year;
  unsigned month, day;
  civilFromDays(days, &year, &month, &day);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04lld-%02u-%02uT%02lld:%02lld:%02lldZ", static_cast<long long>(year), month,
                day, static_cast<long long>(secondsOfDay / 3600), static_cast<long long>(secondsOfDay / 60 % 60),
                static_cast<long long>(secondsOfDay % 60));
  return buffer;
}

}  // namespace platform::plist
