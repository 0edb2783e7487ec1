#include "EventKit/EKEventStore.h"

#include <libical/ical.h>

#include <cstdint>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string_view>

#include "platform/os/DeviceRoot.h"
#include "platform/os/FileSystem.h"
#include "platform/core/Strings.h"

namespace {

constexpr std::uint64_t kMaxCalendarBytes = 16ull << 20;
constexpr std::string_view kExtension = ".ics";

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

std::shared_ptr<EKCalendar> readCalendar(const std::string& directory, const std::string& fileName) {
  if (fileName.front() == '.' || !hasCalendarExtension(fileName) || !platform::isValidUTF8(fileName)) return nullptr;
  auto bytes = platform::readFile(directory + "/" + fileName, kMaxCalendarBytes);
  if (!bytes) return nullptr;
  std::string text(bytes->begin(), bytes->end());

  makeLibicalErrorsNonFatal();
  icalcomponent* root = icalparser_parse_string(text.c_str());
  icalcomponent* calendar = findCalendar(root);
  std::optional<std::string> title, identifier;
  if (calendar != nullptr) {
    title = xProperty(calendar, "X-WR-CALNAME");
    identifier = xProperty(calendar, "X-WR-RELCALID");
  }
  if (root != nullptr) icalcomponent_free(root);
  if (calendar == nullptr) return nullptr;

  if (!title) title = fileName.substr(0, fileName.size() - kExtension.size());
  if (!identifier) identifier = EKEventStore::identifierForFileName(fileName);
  if (!platform::isValidUTF8(*title) || !platform::isValidUTF8(*identifier)) return nullptr;
  return std::make_shared<EKCalendar>(std::move(*title), std::move(*identifier));
}

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
    if (auto calendar = readCalendar(directory, name)) calendars_.push_back(std::move(calendar));
  }
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
