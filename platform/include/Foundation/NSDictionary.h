// NSDictionary's reading of property-list files, at device paths.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/core/Value.h"

struct NSDictionary {
  // dictionaryWithContentsOfFile: the root dictionary of the property list
  // (XML, binary or old-style text) at a device path; nothing when the file is
  // missing, unreadable, malformed, or its root is not a dictionary.
  static std::optional<platform::Dictionary> dictionaryWithContentsOfFile(const std::string& devicePath);

  // The locked rewrite of a property list shared between processes: under an
  // exclusive lock on "<file>.lock" beside it, removes the stale temporaries
  // dead writers left, reads the root dictionary (empty when the file is
  // missing or holds no dictionary), lets `update` change it and writes it
  // back atomically (XML, or binary while XML cannot carry the content).
  // False when it could not be written; the old file is then intact.
  static bool updateContentsOfFile(const std::string& devicePath,
                                   const std::function<void(platform::Dictionary&)>& update);
};
