#include "Filter.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "platform/plist/PropertyList.h"
#include "platform/plist/TextPlist.h"

namespace tweakloader {
namespace {

// Filters are small; anything larger is not a filter.
constexpr platform::PropertyListLimits kLimits{.maxBytes = 1 << 20, .maxDepth = 32};

bool readList(const platform::Dictionary& filter, const char* key, std::vector<std::string>& out,
              std::string& error) {
  const platform::Value* value = filter.find(key);
  if (value == nullptr) return true;
  const platform::Array* array = value->array();
  if (array == nullptr) {
    error = std::string(key) + " is not an array";
    return false;
  }
  for (const platform::Value& entry : *array) {
    const std::string* text = entry.string();
    if (text == nullptr) {
      error = std::string(key) + " holds something other than strings";
      return false;
    }
    out.push_back(*text);
  }
  return true;
}

// A number, or a string that holds nothing but one (the text format has no
// numbers).
std::optional<double> versionNumber(const platform::Value& value) {
  if (value.isNumber()) return value.doubleValue();
  const std::string* text = value.string();
  double number = 0;
  if (!text || text->empty()) return std::nullopt;
  auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), number);
  if (error != std::errc() || end != text->data() + text->size()) return std::nullopt;
  return number;
}

bool readVersionRange(const platform::Dictionary& filter, Filter& out, std::string& error) {
  const platform::Value* value = filter.find("CoreFoundationVersion");
  if (value == nullptr) return true;
  const platform::Array* bounds = value->array();
  std::optional<double> min, max;
  if (bounds && (bounds->size() == 1 || bounds->size() == 2)) {
    min = versionNumber(bounds->front());
    max = bounds->size() == 2 ? versionNumber(bounds->back()) : std::optional<double>(HUGE_VAL);
  }
  if (!min || !max) {
    error = "CoreFoundationVersion is not an array of one or two numbers";
    return false;
  }
  out.minVersion = min;
  if (bounds->size() == 2) out.maxVersion = max;
  return true;
}

}  // namespace

std::optional<Filter> parseFilter(std::string_view bytes, std::string& error) {
  std::optional<platform::Value> root = platform::parsePropertyList(bytes, kLimits);
  if (!root) root = platform::parseTextPropertyList(bytes, kLimits);
  if (!root) {
    error = "not a property list";
    return std::nullopt;
  }
  const platform::Dictionary* top = root->dictionary();
  if (top == nullptr) {
    error = "the root is not a dictionary";
    return std::nullopt;
  }
  const platform::Value* filterValue = top->find("Filter");
  const platform::Dictionary* filter = filterValue ? filterValue->dictionary() : nullptr;
  if (filter == nullptr) {
    error = "no Filter dictionary";
    return std::nullopt;
  }
  Filter parsed;
  if (!readList(*filter, "Bundles", parsed.bundles, error) ||
      !readList(*filter, "Executables", parsed.executables, error) ||
      !readList(*filter, "Classes", parsed.classes, error) || !readVersionRange(*filter, parsed, error))
    return std::nullopt;
  return parsed;
}

bool matches(const Filter& filter, const ProcessIdentity& process) {
  if (filter.minVersion && process.coreFoundationVersion < *filter.minVersion) return false;
  if (filter.maxVersion && process.coreFoundationVersion >= *filter.maxVersion) return false;
  auto contains = [](const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
  };
  if (contains(filter.executables, process.executable)) return true;
  for (const std::string& bundle : filter.bundles)
    if (contains(process.bundles, bundle)) return true;
  if (process.hasClass)
    for (const std::string& name : filter.classes)
      if (process.hasClass(name)) return true;
  return false;
}

}  // namespace tweakloader
