// Feeds arbitrary bytes to the old-style text property-list parser. Beyond
// "no crash, no hang, no sanitizer report" it checks that every string the
// parser produces is valid UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/core/Strings.h"
#include "platform/plist/TextPlist.h"

namespace {

void checkStrings(const platform::Value& value, unsigned depth) {
  if (depth > 600) std::abort();  // deeper than the parser allows
  if (const std::string* s = value.string()) {
    if (!platform::isValidUTF8(*s)) std::abort();
  } else if (const platform::Array* array = value.array()) {
    for (const auto& element : *array) checkStrings(element, depth + 1);
  } else if (const platform::Dictionary* dictionary = value.dictionary()) {
    for (const auto& [key, element] : *dictionary) {
      if (!platform::isValidUTF8(key)) std::abort();
      checkStrings(element, depth + 1);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto value = platform::parseTextPropertyList(std::string_view(reinterpret_cast<const char*>(data), size));
  if (value) checkStrings(*value, 0);
  return 0;
}
