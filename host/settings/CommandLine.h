// The settings host's command line, parsed with CLI11:
//
//   settings-host [--root DIR] [--open LABEL] [--script FILE | -c COMMANDS]
//                 [--lang LANG] [--quiet] [--no-history] [--today DATE]
//   settings-host [--root DIR] [--open LABEL] [--lang LANG] [--today DATE]
//                 --serve [ADDR:]PORT
//   settings-host --help | --version
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <variant>

#include "ServeAddress.h"

namespace settings_host {

struct Options {
  std::optional<std::string> root;      // --root DIR: the device root
  std::optional<std::string> open;      // --open LABEL: an entry opened first
  std::optional<std::string> script;    // --script FILE: commands, one a line
  std::optional<std::string> commands;  // -c COMMANDS: separated by ";"
  std::optional<std::string> language;  // --lang LANG: the session's language
  bool quiet = false;                   // --quiet: no change lines
  bool noHistory = false;               // --no-history: no history file
  std::optional<std::chrono::year_month_day> today;  // --today DATE: the preview's today
  std::optional<ServeAddress> serve;    // --serve [ADDR:]PORT: serve the page
};

// Parses the arguments. When the program is to end at once the result is its
// exit status instead: 0 after --help or --version (printed on standard
// output), 2 after a usage error (one line on standard error naming what is
// wrong, with a pointer to --help).
std::variant<Options, int> parseCommandLine(int argc, char** argv);

}  // namespace settings_host
