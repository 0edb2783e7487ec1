// The binary ("bplist00") reader behind parsePropertyList.
#pragma once

#include <optional>
#include <string_view>

#include "platform/plist/PropertyList.h"

namespace platform::plist {

std::optional<Value> parseBinary(std::string_view bytes, const PropertyListLimits& limits);

}  // namespace platform::plist
