// Any bytes: parsing ends with a value or nothing. Whatever is read, the
// binary writer writes and the reader reads back identically (the same
// value, written again as the same bytes); a value the XML writer takes
// reads back equal to itself.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/plist/PropertyList.h"

namespace {

// NaN never equals itself, so values holding one are left out of the
// comparison of values (their bytes are still compared).
bool holdsNaN(const platform::Value& v) {
  if (v.isReal()) return std::isnan(v.doubleValue());
  if (const auto* a = v.array()) {
    for (const auto& item : *a) {
      if (holdsNaN(item)) return true;
    }
  }
  if (const auto* d = v.dictionary()) {
    for (const auto& [k, item] : *d) {
      if (holdsNaN(item)) return true;
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
  if (!platform::isPropertyListValue(*value)) std::abort();
  bool comparable = !holdsNaN(*value);

  auto binary = platform::serializeBinary(*value);
  if (!binary) std::abort();
  auto fromBinary = platform::parsePropertyList(*binary);
  if (!fromBinary || (comparable && !(*fromBinary == *value))) std::abort();
  if (platform::serializeBinary(*fromBinary) != binary) std::abort();

  auto xml = platform::serializeXML(*value);
  if (!xml) return 0;  // text or dates XML cannot carry: the binary form above holds them
  auto fromXML = platform::parsePropertyList(*xml);
  if (!fromXML || (comparable && !(*fromXML == *value))) std::abort();
  return 0;
}
