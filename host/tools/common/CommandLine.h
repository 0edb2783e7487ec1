// What the tools share on the command line: CLI11 for --help, --version and
// usage errors, and the exit statuses.
#pragma once

#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plist_tools {

constexpr int kExitFailure = 1;  // the work asked for could not be done
constexpr int kExitUsage = 2;    // the command line was wrong

// "NAME VERSION", with the project's version.
std::string versionLine(std::string_view tool);

// Gives the app the --version flag and parses the arguments (argv without
// the program name). Returns the status to exit with when the run ends here:
// 0 after --help or --version (their text printed), kExitUsage after a usage
// error (its message printed).
std::optional<int> parseArguments(CLI::App& app, std::string_view tool, std::vector<std::string> args);

}  // namespace plist_tools
