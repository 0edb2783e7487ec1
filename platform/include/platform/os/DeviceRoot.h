// Every absolute device path ("/var/mobile/...") is kept as written by the
// system's code and resolved here under one device root directory: the
// environment variable DEVICE_ROOT, or "/" (a real device) when it is unset.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The current device root, without a trailing slash ("" for "/").
std::string deviceRoot();

// Sets the root for the whole process (the settings host's --root); also
// exported as DEVICE_ROOT so child processes see it.
void setDeviceRoot(std::string_view root);

// The host file-system path of a device path. Relative paths are returned as
// they are.
std::string resolveDevicePath(std::string_view devicePath);

}  // namespace platform
