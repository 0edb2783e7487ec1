#include "CommandLine.h"

#include <algorithm>

namespace plist_tools {

std::string versionLine(std::string_view tool) { return std::string(tool) + " " VELLORIA_VERSION; }

std::optional<int> parseArguments(CLI::App& app, std::string_view tool, std::vector<std::string> args) {
  app.set_version_flag("--version", versionLine(tool));
  std::reverse(args.begin(), args.end());  // CLI11 takes the last argument first
  try {
    app.parse(args);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? 0 : kExitUsage;
  }
  return std::nullopt;
}

}  // namespace plist_tools
