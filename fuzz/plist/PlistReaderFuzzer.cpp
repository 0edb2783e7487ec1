// Any bytes: parsing ends with a value or nothing, and a value that can be
// written reads back equal to itself.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/plist/PropertyList.h"

namespace {

// Values the XML form cannot give back exactly are left out of the round
// trip: NaN never equals itself, and XML dates hold whole seconds of the
// years 0000 to 9999, as Foundation writes them.
bool lossyInXML(const platform::Value& v) {
  if (v.isReal()) return std::isnan(v.doubleValue());
  if (const auto* date = v.date()) {
    double s = date->seconds;
    return !(s == std::floor(s) && s > -63113904000.0 && s < 252423993600.0);
  }
  if (const auto* a = v.array()) {
    for (const auto& item : *a) {
      if (lossyInXML(item)) return true;
    }
  }
  if (const auto* d = v.dictionary()) {
    for (const auto& [k, item] : *d) {
      if (lossyInXML(item)) return true;
    }
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  platform::PropertyListLimits limits;
  limits.maxBytes = 1 << 20;
  auto value = platform::parsePropertyList(std::string_view(reinterpret_cast<const char*>(data), size), limits);
  if (!value) return 0;
  auto xml = platform::serializeXML(*value);
  if (!xml) return 0;  // text XML cannot carry, such as controls read from a binary list
  if (lossyInXML(*value)) return 0;
  auto again = platform::parsePropertyList(*xml);
  if (!again || !(*again == *value)) std::abort();
  return 0;
}
