// settings-host: the Settings app stand-in. Loads the settings entries of a
// device root and lets a person (at a prompt) or a script use their panes.
// Without --open it starts at the settings list. The flags are in
// CommandLine.h, the prompt in Prompt.h.
//
// With --serve it serves the panes as a page in a browser instead (Serve.h).
// Without --script or -c, commands come from standard input: at the prompt
// when it is a terminal, else one per line. After each command one line is
// printed per file the command changed on the device and per URL it opened
// (ChangeReport.h), unless --quiet.
//
// Exit status: 0 when every command ran, 1 when a command of a script failed
// (the run stops there), 2 for a bad invocation. At the prompt SIGTERM and
// SIGHUP end the session after the command in hand, storing nothing more;
// the process then ends by that signal. A served host ends on SIGINT,
// SIGTERM or SIGHUP with status 0.
#include <cstdlib>
#include <iostream>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ChangeReport.h"
#include "CommandLine.h"
#include "HistoryFile.h"
#include "HostWords.h"
#include "Prompt.h"
#include "Serve.h"
#include "SettingsHost.h"
#include "TextLayout.h"
#include "platform/core/TerminalText.h"
#include "platform/os/DeviceRoot.h"
#include "platform/os/Environment.h"
#include "platform/os/FileSystem.h"
#include "platform/os/Signals.h"
#include "platform/os/Terminal.h"

namespace {

using settings_host::ChangeReport;
using settings_host::SettingsHost;

// Runs commands and reports what they changed on the device.
class Session {
 public:
  Session(SettingsHost& host, bool quiet) : host_(host), quiet_(quiet) {}

  // Runs one line; throws what the host throws. What the command changed is
  // noted even when it fails, for what it did before it failed.
  void run(const std::string& line) {
    if (quiet_) return host_.execute(line);
    report_.before();
    try {
      host_.execute(line);
    } catch (...) {
      noteChanges();
      throw;
    }
    noteChanges();
  }

  // Prints the change lines of the commands run since the last call.
  void printChanges() {
    std::size_t width = platform::terminalColumns();
    for (const std::string& line : changes_) std::cout << settings_host::wrapped(platform::visibleText(line), width, 2);
    changes_.clear();
    std::cout.flush();
  }

 private:
  void noteChanges() {
    for (std::string& line : report_.after()) changes_.push_back(std::move(line));
  }

  SettingsHost& host_;
  bool quiet_;
  ChangeReport report_;
  std::vector<std::string> changes_;
};

void printScriptError(const std::string& where, const std::exception& error) {
  std::cout.flush();
  std::cerr << "settings-host: " << platform::visibleText(where) << ": " << platform::visibleText(error.what()) << '\n';
}

// Runs commands until one fails: 0, or 1 after printing where and why.
int runCommands(Session& session, SettingsHost& host, const std::vector<std::string>& lines,
                const std::string& source) {
  for (std::size_t i = 0; i < lines.size() && !host.finished(); ++i) {
    try {
      session.run(lines[i]);
      session.printChanges();
    } catch (const std::exception& e) {
      session.printChanges();
      printScriptError(source + " " + std::to_string(i + 1), e);
      return 1;
    }
  }
  return 0;
}

int runStream(Session& session, SettingsHost& host) {
  std::string line;
  for (std::size_t n = 1; !host.finished() && std::getline(std::cin, line); ++n) {
    try {
      session.run(line);
      session.printChanges();
    } catch (const std::exception& e) {
      session.printChanges();
      printScriptError("line " + std::to_string(n), e);
      return 1;
    }
    std::cout.flush();
  }
  return 0;
}

// An error at the prompt, alone on its lines: red when standard error is a
// terminal that shows colour.
void printPromptError(const std::exception& error) {
  std::cout.flush();
  bool colour = platform::terminalHasColor(platform::StandardStream::Error);
  std::string text = settings_host::word("error:") + " " + platform::visibleText(error.what());
  for (const std::string& line : settings_host::wrapText(text, platform::terminalColumns(), 2))
    std::cerr << (colour ? "\x1b[31m" + line + "\x1b[0m" : line) << '\n';
}

int runInteractive(Session& session, SettingsHost& host, std::optional<std::string> historyPath) {
  platform::useUTF8Terminal();
  platform::catchStopSignals();
  {
    settings_host::Prompt prompt(host, std::move(historyPath));
    host.draw();
    while (!host.finished() && platform::pendingTermination() == platform::StopSignal::None) {
      std::optional<std::string> line =
          prompt.readLine("settings [" + platform::visibleText(host.currentTitle()) + "]> ");
      if (!line) break;
      auto command = settings_host::parseCommand(*line);
      if (command.name.empty()) continue;
      prompt.remember(*line);
      // The pane is drawn again after a command that may have changed it,
      // and the change lines come last, next to the prompt. After an error
      // the error stands alone; what a command printed itself (a drawing,
      // the dump, help, the preview) is not pushed away by a redraw.
      try {
        session.run(*line);
      } catch (const std::exception& e) {
        printPromptError(e);
        session.printChanges();
        continue;
      }
      static const std::set<std::string> printing = {"show", "dump", "help", "?", "preview"};
      if (!host.finished() && !printing.count(command.name)) host.draw();
      session.printChanges();
    }
  }
  std::cout.flush();
  if (auto signal = platform::pendingTermination(); signal != platform::StopSignal::None)
    platform::endBySignal(signal);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  auto parsed = settings_host::parseCommandLine(argc, argv);
  if (const int* status = std::get_if<int>(&parsed)) return *status;
  const settings_host::Options& options = std::get<settings_host::Options>(parsed);
  if (options.root) {
    if (!platform::isDirectory(*options.root)) {
      std::cerr << "settings-host: --root: no device root at " << platform::visibleText(*options.root)
                << " (try --help)\n";
      return 2;
    }
    platform::setDeviceRoot(*options.root);
  }
  if (options.language) platform::setEnvironment("LANGUAGE", *options.language);
  settings_host::chooseHostLanguage();

  std::vector<std::string> lines;
  std::string source = "command";
  if (options.script) {
    auto bytes = platform::readFile(*options.script, 64u << 20);
    if (!bytes) {
      std::cerr << "settings-host: --script: cannot read " << platform::visibleText(*options.script) << '\n';
      return 2;
    }
    lines = settings_host::splitLines(std::string(bytes->begin(), bytes->end()));
    source = "line";
  } else if (options.commands) {
    lines = settings_host::splitCommandList(*options.commands);
  }

  // A served host draws nothing: the page shows the panes.
  std::ostream discarded(nullptr);
  SettingsHost host(options.serve ? discarded : std::cout, !options.serve && platform::terminalHasTrueColor());
  if (options.today) host.setToday(*options.today);
  Session session(host, options.quiet || options.serve);
  if (options.open) {
    try {
      session.run("open " + *options.open);
      session.printChanges();
    } catch (const std::exception& e) {
      printScriptError("--open " + *options.open, e);
      return 1;
    }
  }
  if (options.serve) {
    platform::catchStopSignals();
    platform::ignoreBrokenPipes();
    return settings_host::serve(host, *options.serve, settings_host::hostLanguage(), [&host] {
      return platform::takeInterrupt() || platform::pendingTermination() != platform::StopSignal::None ||
             host.finished();
    });
  }
  if (options.script || options.commands) return runCommands(session, host, lines, source);
  if (platform::isTerminal(platform::StandardStream::Input))
    return runInteractive(session, host, options.noHistory ? std::nullopt : settings_host::historyFilePath());
  return runStream(session, host);
}
