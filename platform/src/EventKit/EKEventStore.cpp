#include "EventKit/EKEventStore.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "CalendarFile.h"
#include "platform/os/DeviceRoot.h"
#include "platform/os/FileSystem.h"

namespace {

// 64-bit FNV-1a from a given starting value, then a final mix so that similar
// names give unrelated results.
std::uint64_t hashName(std::string_view name, std::uint64_t basis) {
  std::uint64_t h = basis;
  for (unsigned char c : name) {
    h ^= c;
    h *= 0x100000001b3ull;
  }
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdull;
  h ^= h >> 33;
  h *= 0xc4ceb9fe1a85ec53ull;
  h ^= h >> 33;
  return h;
}

}  // namespace

EKEventStore::EKEventStore() {
  std::string directory = platform::resolveDevicePath(kCalendarsDirectory);
  for (const auto& name : platform::listDirectory(directory)) {
    if (auto file = eventkit::CalendarFile::open(directory, name)) {
      calendars_.push_back(file->calendar());
      files_.push_back(std::move(file));
    }
  }
}

EKEventPredicate EKEventStore::predicateForEventsWithStartDate(
    platform::Date startDate, platform::Date endDate,
    std::optional<std::vector<std::shared_ptr<EKCalendar>>> calendars) const {
  return EKEventPredicate{startDate, endDate, std::move(calendars)};
}

std::vector<std::shared_ptr<EKEvent>> EKEventStore::eventsMatchingPredicate(const EKEventPredicate& predicate) const {
  std::vector<std::shared_ptr<EKEvent>> events;
  for (const auto& file : files_) {
    const std::shared_ptr<EKCalendar>& calendar = file->calendar();
    if (predicate.calendars &&
        std::find(predicate.calendars->begin(), predicate.calendars->end(), calendar) == predicate.calendars->end())
      continue;
    file->occurrences(predicate.startDate, predicate.endDate,
                      [&](const std::string& title, platform::Date start, platform::Date end, bool allDay) {
                        events.push_back(std::make_shared<EKEvent>(title, start, end, allDay, calendar));
                      });
  }
  std::stable_sort(events.begin(), events.end(), [](const auto& a, const auto& b) {
    return a->startDate().seconds < b->startDate().seconds;
  });
  return events;
}

std::string EKEventStore::identifierForFileName(const std::string& fileName) {
  std::uint64_t high = hashName(fileName, 0xcbf29ce484222325ull);
  std::uint64_t low = hashName(fileName, 0x84222325cbf29ce4ull);
  // Shaped as an RFC 9562 version 8 (custom) UUID.
  high = (high & ~0xF000ull) | 0x8000ull;
  low = (low & ~(0x3ull << 62)) | (0x2ull << 62);
  char text[37];
  std::snprintf(text, sizeof text, "%08X-%04X-%04X-%04X-%012llX", static_cast<unsigned>(high >> 32),
                static_cast<unsigned>((high >> 16) & 0xFFFF), static_cast<unsigned>(high & 0xFFFF),
                static_cast<unsigned>(low >> 48), static_cast<unsigned long long>(low & 0xFFFFFFFFFFFFull));
  return text;
}
