// The XML writer behind serializeXML and writePropertyListFile.
#pragma once

#include <string>

#include "platform/core/Value.h"

namespace platform::plist {

// The whole XML document into out (cleared first); false when the value
// holds what the XML encoding cannot carry exactly (see serializeXML).
bool encodeXML(const Value& value, std::string& out);

}  // namespace platform::plist
