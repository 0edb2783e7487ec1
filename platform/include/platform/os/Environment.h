// The process environment: the one place the system and its stand-ins read
// or set environment variables.
#pragma once

#include <optional>
#include <string>

namespace platform {

// The value of an environment variable, or nothing when it is unset.
std::optional<std::string> environment(const char* name);

// Sets an environment variable for this process and the processes it
// starts. Not thread-safe with concurrent readers of the environment: call
// it at start-up, before threads run.
void setEnvironment(const char* name, const std::string& value);

// The directory holding this process's executable (a host path), or the
// current directory when it cannot be told.
std::string executableDirectory();

}  // namespace platform
