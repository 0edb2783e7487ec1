// settings-host: the Settings app stand-in. Loads the settings entries of a
// device root and lets a person (at a prompt) or a script use their panes.
//
//   settings-host [--root DIR] [--open LABEL] [--script FILE | -c 'cmd; cmd']
//
// Without --script or -c, commands come from standard input: at a prompt with
// line editing and history when it is a terminal, else one per line, each
// command's output flushed when it is done (so a program driving the host
// through a pipe can read each answer before it sends the next command).
// Exit status: 0 when every command ran, 1 when a command failed (the run
// stops there), 2 for a bad invocation.
#include <editline/readline.h>

#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "Preview.h"
#include "SettingsHost.h"
#include "platform/os/DeviceRoot.h"
#include "platform/os/FileSystem.h"
#include "platform/os/Terminal.h"

namespace {

using settings_host::CommandError;
using settings_host::SettingsHost;

constexpr const char* kUsage =
    "usage: settings-host [--root DIR] [--open LABEL] [--script FILE | -c 'cmd; cmd']\n"
    "  --root DIR     the device root (default: $DEVICE_ROOT, else /)\n"
    "  --open LABEL   open the settings entry LABEL before anything else\n"
    "  --script FILE  run the commands of FILE, one per line\n"
    "  -c COMMANDS    run commands separated by ';'\n"
    "With neither, commands come from standard input (a prompt on a terminal).\n";

struct Options {
  std::optional<std::string> root, open, script, commands, today;
};

std::optional<Options> parseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    std::optional<std::string>* target = arg == "--root"   ? &options.root
                                         : arg == "--open" ? &options.open
                                         : arg == "--script" ? &options.script
                                         : arg == "-c" ? &options.commands
                                         : arg == "--today" ? &options.today
                                                       : nullptr;
    if (!target || i + 1 >= argc || *target) return std::nullopt;
    *target = argv[++i];
  }
  if (options.script && options.commands) return std::nullopt;
  return options;
}

bool isQuit(const std::string& line) {
  auto c = settings_host::parseCommand(line);
  return c.name == "quit" || c.name == "exit";
}

// Runs commands until one fails: 0, or 1 after printing where and why.
int runCommands(SettingsHost& host, const std::vector<std::string>& lines, const std::string& source) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (isQuit(lines[i])) return 0;
    try {
      host.execute(lines[i]);
    } catch (const std::exception& e) {
      std::cout.flush();
      std::cerr << "settings-host: " << source << " " << i + 1 << ": " << e.what() << '\n';
      return 1;
    }
  }
  return 0;
}

int runStream(SettingsHost& host) {
  std::string line;
  for (std::size_t n = 1; std::getline(std::cin, line); ++n) {
    if (isQuit(line)) return 0;
    try {
      host.execute(line);
    } catch (const std::exception& e) {
      std::cout.flush();
      std::cerr << "settings-host: line " << n << ": " << e.what() << '\n';
      return 1;
    }
    std::cout.flush();
  }
  return 0;
}

int runInteractive(SettingsHost& host) {
  host.draw();
  while (true) {
    std::string prompt = "settings [" + host.currentTitle() + "]> ";
    char* raw = readline(prompt.c_str());
    if (!raw) break;
    std::string line = raw;
    std::free(raw);
    auto command = settings_host::parseCommand(line);
    if (command.name.empty()) continue;
    add_history(line.c_str());
    if (isQuit(line)) break;
    try {
      host.execute(line);
    } catch (const std::exception& e) {
      std::cout.flush();
      std::cerr << "error: " << e.what() << '\n';
    }
    if (command.name != "show" && command.name != "dump" && command.name != "help") host.draw();
    std::cout.flush();
  }
  std::cout << '\n';
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  auto options = parseOptions(argc, argv);
  if (!options) {
    std::cerr << kUsage;
    return 2;
  }
  if (options->root) {
    if (!platform::statFile(*options->root)) {
      std::cerr << "settings-host: no device root at " << *options->root << '\n';
      return 2;
    }
    platform::setDeviceRoot(*options->root);
  }
  std::vector<std::string> lines;
  std::string source = "command";
  if (options->script) {
    auto bytes = platform::readFile(*options->script, 64u << 20);
    if (!bytes) {
      std::cerr << "settings-host: cannot read the script " << *options->script << '\n';
      return 2;
    }
    lines = settings_host::splitLines(std::string(bytes->begin(), bytes->end()));
    source = "line";
  } else if (options->commands) {
    lines = settings_host::splitCommandList(*options->commands);
  }

  SettingsHost host(std::cout, platform::terminalHasTrueColor());
  if (options->today) {
    auto today = settings_preview::parsePreviewDate(*options->today);
    if (!today || !today->dayGiven) {
      std::cerr << "settings-host: --today takes a date YYYY-MM-DD, not " << *options->today << '\n';
      return 2;
    }
    host.setToday(today->date);
  }
  if (options->open) {
    try {
      host.execute("open " + *options->open);
    } catch (const std::exception& e) {
      std::cerr << "settings-host: --open " << *options->open << ": " << e.what() << '\n';
      return 1;
    }
  }
  if (options->script || options->commands) return runCommands(host, lines, source);
  if (platform::isTerminal(platform::StandardStream::Input)) return runInteractive(host);
  return runStream(host);
}
