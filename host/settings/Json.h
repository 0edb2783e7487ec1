// Writing JSON text for the host's `dump` command.
#pragma once

#include <string>
#include <string_view>

#include "platform/core/Value.h"

namespace settings_host {

// A JSON string literal: quotes, backslashes and control characters escaped
// (\n, \t, ... or \u00XX); everything else, UTF-8 included, kept as it is.
std::string jsonString(std::string_view text);

// A property-list value as JSON: nil and live objects are null, dictionaries
// objects in their own order, data a base64 string, a date its seconds since
// 2001 and a real that JSON cannot hold (infinite, NaN) null.
std::string jsonValue(const platform::Value& value);

}  // namespace settings_host
