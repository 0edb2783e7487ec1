// The binary ("bplist00") writer behind serializeBinary and the fallback of
// writePropertyListFile.
#pragma once

#include <string>

#include "platform/core/Value.h"

namespace platform::plist {

// The whole binary document into out (cleared first); false when the value
// holds what no property list can (see isPropertyListValue).
bool encodeBinary(const Value& value, std::string& out);

}  // namespace platform::plist
