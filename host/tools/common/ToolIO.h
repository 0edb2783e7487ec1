// Files the tools read and write, named on the command line: host paths as
// given (not device paths), or "-" for the standard streams.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/core/Value.h"

namespace plist_tools {

// The property list in a file (any encoding), or on standard input for "-".
// On failure, whyNot says why in a few words ("no such file", "malformed XML
// property list", ...).
std::optional<platform::Value> readPropertyListInput(const std::string& path, std::string& whyNot);

// Writes bytes to standard output for "-", else atomically to the file.
bool writeOutput(const std::string& path, std::string_view bytes);

// Text for standard output: as it is for a pipe or a file, through
// visibleText when a person reads it on a terminal.
std::string forStandardOutput(std::string_view text);

}  // namespace plist_tools
