// NSDictionary's reading of property-list files, at device paths.
#pragma once

#include <optional>
#include <string>

#include "platform/core/Value.h"

struct NSDictionary {
  // dictionaryWithContentsOfFile: the root dictionary of the property list
  // (XML, binary or old-style text) at a device path; nothing when the file is
  // missing, unreadable, malformed, or its root is not a dictionary.
  static std::optional<platform::Dictionary> dictionaryWithContentsOfFile(const std::string& devicePath);
};
