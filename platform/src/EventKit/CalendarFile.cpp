#include "CalendarFile.h"

#include <libical/ical.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <optional>
#include <string_view>

#include "EventKit/EKEventStore.h"
#include "platform/core/Strings.h"
#include "platform/os/Clock.h"
#include "platform/os/FileSystem.h"

namespace eventkit {
namespace {

constexpr std::uint64_t kMaxCalendarBytes = 16ull << 20;
constexpr std::string_view kExtension = ".ics";
// Bounds on expanding one recurring event for one query.
constexpr int kMaxRecurrenceSteps = 100000;
constexpr int kMaxOccurrences = 5000;
constexpr double kDay = 86400;

// libical's default is to abort the process on a parse error; a bad calendar
// file must only be skipped.
void makeLibicalErrorsNonFatal() {
  static std::once_flag once;
  std::call_once(once, [] { icalerror_set_errors_are_fatal(0); });
}

bool hasCalendarExtension(const std::string& name) {
  if (name.size() <= kExtension.size()) return false;
  std::string_view tail = std::string_view(name).substr(name.size() - kExtension.size());
  for (std::size_t i = 0; i < tail.size(); ++i) {
    char c = tail[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != kExtension[i]) return false;
  }
  return true;
}

// The text of the calendar's first X-property of that name (unescaped by
// libical); nothing when it is absent, empty, or typed as something other
// than text ("VALUE=INTEGER").
std::optional<std::string> xProperty(icalcomponent* calendar, const char* name) {
  for (icalproperty* p = icalcomponent_get_first_property(calendar, ICAL_X_PROPERTY); p != nullptr;
       p = icalcomponent_get_next_property(calendar, ICAL_X_PROPERTY)) {
    const char* propertyName = icalproperty_get_x_name(p);
    if (propertyName == nullptr || std::string_view(propertyName) != name) continue;
    const icalvalue* value = icalproperty_get_value(p);
    const char* text = nullptr;
    if (value != nullptr && icalvalue_isa(value) == ICAL_TEXT_VALUE) text = icalvalue_get_text(value);
    if (value != nullptr && icalvalue_isa(value) == ICAL_X_VALUE) text = icalvalue_get_x(value);
    if (text == nullptr || *text == '\0') return std::nullopt;
    return std::string(text);
  }
  return std::nullopt;
}

// The file's VCALENDAR (the first one when the file holds several); null when
// the text is not iCalendar.
icalcomponent* findCalendar(icalcomponent* root) {
  if (root == nullptr) return nullptr;
  if (icalcomponent_isa(root) == ICAL_VCALENDAR_COMPONENT) return root;
  if (icalcomponent_isa(root) != ICAL_XROOT_COMPONENT) return nullptr;
  return icalcomponent_get_first_component(root, ICAL_VCALENDAR_COMPONENT);
}

// Event titles come from files: ill-formed UTF-8 becomes U+FFFD.
std::string wellFormed(const char* text) {
  std::string_view in = text ? text : "";
  if (platform::isValidUTF8(in)) return std::string(in);
  std::string out;
  for (int32_t i = 0, n = static_cast<int32_t>(in.size()); i < n;) {
    UChar32 c = 0;
    U8_NEXT(in.data(), i, n, c);
    platform::appendUTF8(out, c < 0 ? 0xFFFD : static_cast<char32_t>(c));
  }
  return out;
}

// The absolute time of an iCalendar time: dates and floating times are the
// local wall clock's, zoned times are converted.
platform::Date toDate(icaltimetype t) {
  if (!t.is_date && !icaltime_is_utc(t) && t.zone != nullptr)
    t = icaltime_convert_to_zone(t, icaltimezone_get_utc_timezone());
  platform::CivilTime civil{t.year, t.month, t.day, t.is_date ? 0 : t.hour, t.is_date ? 0 : t.minute,
                            t.is_date ? 0 : t.second};
  if (!t.is_date && icaltime_is_utc(t)) return platform::dateFromUTC(civil);
  return platform::dateFromLocalTime(civil);
}

struct Span {
  platform::Date start, end;
};

bool overlaps(const Span& s, platform::Date from, platform::Date to) {
  if (s.start.seconds >= to.seconds) return false;
  return s.end.seconds > from.seconds || (s.end.seconds == s.start.seconds && s.start.seconds >= from.seconds);
}

}  // namespace

// One VEVENT: when it starts and how long each occurrence lasts.
struct Event {
  std::string title;
  icaltimetype start;
  bool allDay = false;
  int days = 1;             // all-day events: how many days
  double seconds = 0;       // timed events: how long
  Span spanAt(icaltimetype occurrence) const {
    platform::Date begin = toDate(occurrence);
    if (!allDay) return Span{begin, platform::Date{begin.seconds + seconds}};
    icaltimetype after = occurrence;
    icaltime_adjust(&after, days, 0, 0, 0);
    return Span{begin, toDate(after)};
  }
};

struct Single {
  std::string title;
  Span span;
  bool allDay;
};

struct Recurring {
  Event event;
  icalcomponent* component;             // owned by the file's root
  std::vector<icaltimetype> skipped;    // EXDATEs and instances replaced elsewhere
};

struct CalendarFile::Parsed {
  icalcomponent* root = nullptr;  // kept while recurring events point into it
  std::vector<Single> singles;    // sorted by start
  double longestSingle = 0;
  std::vector<Recurring> recurring;
};

namespace {

std::optional<Event> readEvent(icalcomponent* component) {
  icaltimetype start = icalcomponent_get_dtstart(component);
  if (icaltime_is_null_time(start) || !icaltime_is_valid_time(start)) return std::nullopt;
  Event event;
  event.title = wellFormed(icalcomponent_get_summary(component));
  event.start = start;
  event.allDay = start.is_date;
  icaltimetype end = icalcomponent_get_dtend(component);  // DTEND, or DTSTART + DURATION
  bool hasEnd = !icaltime_is_null_time(end) && icaltime_is_valid_time(end);
  if (event.allDay) {
    if (hasEnd) {
      double days = std::round((toDate(end).seconds - toDate(start).seconds) / kDay);
      event.days = static_cast<int>(std::clamp(days, 1.0, 3660.0));
    }
  } else if (hasEnd) {
    event.seconds = std::max(0.0, toDate(end).seconds - toDate(start).seconds);
  }
  return event;
}

bool isRecurring(icalcomponent* component) {
  return icalcomponent_get_first_property(component, ICAL_RRULE_PROPERTY) != nullptr ||
         icalcomponent_get_first_property(component, ICAL_RDATE_PROPERTY) != nullptr;
}

std::unique_ptr<CalendarFile::Parsed> readEvents(icalcomponent* root, icalcomponent* calendar) {
  auto parsed = std::make_unique<CalendarFile::Parsed>();
  std::map<std::string, std::vector<icaltimetype>> replaced;  // UID -> RECURRENCE-IDs
  for (icalcomponent* c = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); c != nullptr;
       c = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
    std::optional<Event> event = readEvent(c);
    if (!event) continue;
    icaltimetype recurrenceId = icalcomponent_get_recurrenceid(c);
    if (!icaltime_is_null_time(recurrenceId) && icalcomponent_get_uid(c))
      replaced[icalcomponent_get_uid(c)].push_back(recurrenceId);
    if (icaltime_is_null_time(recurrenceId) && isRecurring(c)) {
      Recurring r{std::move(*event), c, {}};
      for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_EXDATE_PROPERTY); p != nullptr;
           p = icalcomponent_get_next_property(c, ICAL_EXDATE_PROPERTY))
        r.skipped.push_back(icalproperty_get_exdate(p));
      parsed->recurring.push_back(std::move(r));
      continue;
    }
    Span span = event->spanAt(event->start);
    parsed->longestSingle = std::max(parsed->longestSingle, span.end.seconds - span.start.seconds);
    parsed->singles.push_back(Single{std::move(event->title), span, event->allDay});
  }
  for (Recurring& r : parsed->recurring) {
    const char* uid = icalcomponent_get_uid(r.component);
    auto found = uid ? replaced.find(uid) : replaced.end();
    if (found != replaced.end()) r.skipped.insert(r.skipped.end(), found->second.begin(), found->second.end());
  }
  std::sort(parsed->singles.begin(), parsed->singles.end(),
            [](const Single& a, const Single& b) { return a.span.start.seconds < b.span.start.seconds; });
  if (!parsed->recurring.empty()) parsed->root = root;
  return parsed;
}

// Calls emit for each occurrence of a recurring event that starts before `to`,
// within the expansion bounds.
// An absolute time expressed as the same kind of time as `like`: a date or a
// floating time on the local wall clock, else a time in like's zone.
icaltimetype sameKindOfTime(const icaltimetype& like, platform::Date date) {
  if (like.is_date || (!icaltime_is_utc(like) && like.zone == nullptr)) {
    platform::CivilTime c = platform::localTimeOf(date);
    icaltimetype t = icaltime_null_time();
    t.year = c.year, t.month = c.month, t.day = c.day;
    if (like.is_date) {
      t.is_date = 1;
    } else {
      t.hour = c.hour, t.minute = c.minute, t.second = c.second;
    }
    return t;
  }
  icaltimetype utc = icaltime_from_timet_with_zone(static_cast<time_t>(date.seconds + 978307200.0), 0,
                                                   icaltimezone_get_utc_timezone());
  return icaltime_convert_to_zone(utc, const_cast<icaltimezone*>(like.zone ? like.zone : icaltimezone_get_utc_timezone()));
}

// Calls emit for each occurrence of a recurring event that starts before `to`,
// within the expansion bounds; emit tells whether the occurrence was taken.
void expand(const Recurring& r, platform::Date from, platform::Date to,
            const std::function<bool(icaltimetype)>& emit) {
  int emitted = 0;
  auto consider = [&](icaltimetype occurrence) {
    for (const icaltimetype& skip : r.skipped)
      if (icaltime_compare(skip, occurrence) == 0) return;
    if (emitted < kMaxOccurrences && emit(occurrence)) ++emitted;
  };
  for (icalproperty* p = icalcomponent_get_first_property(r.component, ICAL_RRULE_PROPERTY); p != nullptr;
       p = icalcomponent_get_next_property(r.component, ICAL_RRULE_PROPERTY)) {
    struct icalrecurrencetype rule = icalproperty_get_rrule(p);
    icalrecur_iterator* it = icalrecur_iterator_new(rule, r.event.start);
    if (it == nullptr) continue;
    // Jump close to the span asked for when the rule allows it (not with
    // COUNT), so that a long-running rule is not walked from its start.
    double lead = r.event.allDay ? r.event.days * kDay : r.event.seconds;
    platform::Date jumpAt{from.seconds - lead - 60};
    if (rule.count == 0 && jumpAt.seconds > toDate(r.event.start).seconds)
      icalrecur_iterator_set_start(it, sameKindOfTime(r.event.start, jumpAt));
    // Compared as the rule's own kind of time, so no step converts a time.
    icaltimetype limit = sameKindOfTime(r.event.start, to);
    for (int step = 0; step < kMaxRecurrenceSteps && emitted < kMaxOccurrences; ++step) {
      icaltimetype occurrence = icalrecur_iterator_next(it);
      if (icaltime_is_null_time(occurrence) || icaltime_compare(occurrence, limit) > 0) break;
      consider(occurrence);
    }
    icalrecur_iterator_free(it);
  }
  for (icalproperty* p = icalcomponent_get_first_property(r.component, ICAL_RDATE_PROPERTY); p != nullptr;
       p = icalcomponent_get_next_property(r.component, ICAL_RDATE_PROPERTY)) {
    struct icaldatetimeperiodtype rdate = icalproperty_get_rdate(p);
    icaltimetype occurrence = icaltime_is_null_time(rdate.time) ? rdate.period.start : rdate.time;
    if (!icaltime_is_null_time(occurrence)) consider(occurrence);
  }
}

}  // namespace

CalendarFile::CalendarFile(std::unique_ptr<Parsed> parsed, std::shared_ptr<EKCalendar> calendar)
    : parsed_(std::move(parsed)), calendar_(std::move(calendar)) {}

CalendarFile::~CalendarFile() {
  if (parsed_ && parsed_->root) icalcomponent_free(parsed_->root);
}

void CalendarFile::occurrences(platform::Date from, platform::Date to, const Occurrence& occurrence) const {
  const auto& singles = parsed_->singles;
  double earliest = from.seconds - parsed_->longestSingle;
  auto it = std::lower_bound(singles.begin(), singles.end(), earliest,
                             [](const Single& s, double t) { return s.span.start.seconds < t; });
  for (; it != singles.end() && it->span.start.seconds < to.seconds; ++it)
    if (overlaps(it->span, from, to)) occurrence(it->title, it->span.start, it->span.end, it->allDay);
  for (const Recurring& r : parsed_->recurring) {
    expand(r, from, to, [&](icaltimetype at) {
      Span span = r.event.spanAt(at);
      if (!overlaps(span, from, to)) return false;
      occurrence(r.event.title, span.start, span.end, r.event.allDay);
      return true;
    });
  }
}

std::shared_ptr<const CalendarFile> CalendarFile::open(const std::string& directory, const std::string& fileName) {
  if (fileName.empty() || fileName.front() == '.' || !hasCalendarExtension(fileName) ||
      !platform::isValidUTF8(fileName))
    return nullptr;
  // Parsed files are kept per path and stamp: a large calendar is parsed once,
  // not at every pane and preview that asks for it.
  static std::mutex mutex;
  static auto* cache = new std::map<std::string, std::pair<platform::FileStamp, std::shared_ptr<const CalendarFile>>>();
  std::string path = directory + "/" + fileName;
  std::optional<platform::FileStamp> stamp = platform::statFile(path);
  if (!stamp) return nullptr;
  {
    std::lock_guard lock(mutex);
    auto found = cache->find(path);
    if (found != cache->end() && found->second.first == *stamp) return found->second.second;
  }
  std::shared_ptr<const CalendarFile> file = parse(directory, fileName);
  std::lock_guard lock(mutex);
  if (file)
    (*cache)[path] = {*stamp, file};
  else
    cache->erase(path);
  return file;
}

std::shared_ptr<const CalendarFile> CalendarFile::parse(const std::string& directory, const std::string& fileName) {
  auto bytes = platform::readFile(directory + "/" + fileName, kMaxCalendarBytes);
  if (!bytes) return nullptr;
  std::string text(bytes->begin(), bytes->end());

  makeLibicalErrorsNonFatal();
  icalcomponent* root = icalparser_parse_string(text.c_str());
  icalcomponent* calendar = findCalendar(root);
  if (calendar == nullptr) {
    if (root != nullptr) icalcomponent_free(root);
    return nullptr;
  }
  std::optional<std::string> title = xProperty(calendar, "X-WR-CALNAME");
  std::optional<std::string> identifier = xProperty(calendar, "X-WR-RELCALID");
  if (!title) title = fileName.substr(0, fileName.size() - kExtension.size());
  if (!identifier) identifier = EKEventStore::identifierForFileName(fileName);
  if (!platform::isValidUTF8(*title) || !platform::isValidUTF8(*identifier)) {
    icalcomponent_free(root);
    return nullptr;
  }
  std::unique_ptr<CalendarFile::Parsed> parsed = readEvents(root, calendar);
  if (!parsed->root) icalcomponent_free(root);
  auto ekCalendar = std::make_shared<EKCalendar>(std::move(*title), std::move(*identifier));
  return std::shared_ptr<const CalendarFile>(new CalendarFile(std::move(parsed), std::move(ekCalendar)));
}

}  // namespace eventkit
