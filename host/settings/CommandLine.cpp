#include "CommandLine.h"

#include <CLI/CLI.hpp>

#include <cctype>
#include <iostream>

#include "Preview.h"
#include "TextLayout.h"
#include "platform/os/Terminal.h"

namespace settings_host {
namespace {

constexpr const char* kDescription =
    "The Settings app of a device image. It lists the settings entries under the device root, "
    "loads their bundles and lets you use their panes: at a prompt when standard input is a terminal, else from "
    "a script, -c or standard input.";

constexpr const char* kFooter =
    "At the prompt, help lists the commands; Tab completes them, entry labels and choices; Ctrl-C cancels the "
    "line; Ctrl-D, quit or exit end the session. The host's words follow the language of the panes.\n"
    "Exit status: 0 when every command ran, 1 when a command of a script failed (the script stops there), "
    "2 for a usage error.\n"
    "See settings-host(1).";

// Locale names as LANG writes them: letters, digits, "_", "-", "." and "@".
std::string checkLanguage(const std::string& name) {
  if (name.empty() || name.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-.@") !=
                          std::string::npos)
    return "\"" + name + "\" is not a language name such as en or zh_CN";
  return std::string();
}

// The help --help prints: the usage, what the program is, its options (from
// the parser, so they never drift apart) and the footer, wrapped to the
// terminal (80 columns when the output is no terminal).
std::string helpText(const CLI::App& app) {
  std::size_t width = platform::terminalColumns();
  if (width == 0) width = 80;
  constexpr std::size_t kColumn = 24;
  std::string text = wrapped("usage: settings-host [--root DIR] [--open LABEL] [--script FILE | -c COMMANDS] "
                             "[--lang LANG] [--quiet] [--no-history] [--today DATE]",
                             width, 21);
  text += wrapped("       settings-host [--root DIR] [--open LABEL] [--lang LANG] [--today DATE] "
                  "--serve [ADDR:]PORT",
                  width, 21);
  text += "       settings-host --help | --version\n\n" + wrapped(kDescription, width, 0) + "\noptions:\n";
  for (const CLI::Option* option : app.get_options()) {
    std::string names;
    for (const std::string& name : option->get_snames()) names += (names.empty() ? "-" : ", -") + name;
    for (const std::string& name : option->get_lnames()) names += (names.empty() ? "--" : ", --") + name;
    std::string entry = "  " + names;
    if (option->get_type_size() > 0) entry += " " + option->get_type_name();
    entry += entry.size() + 2 <= kColumn ? std::string(kColumn - entry.size(), ' ') : "  ";
    text += wrapped(entry + option->get_description(), width, kColumn);
  }
  text += "\n";
  std::string footer = kFooter;
  for (std::size_t start = 0, end; start < footer.size(); start = end + 1) {
    end = footer.find('\n', start);
    if (end == std::string::npos) end = footer.size();
    text += wrapped(footer.substr(start, end - start), width, 0);
  }
  return text;
}

std::string checkToday(const std::string& text) {
  auto date = settings_preview::parsePreviewDate(text);
  return date && date->dayGiven ? std::string() : "\"" + text + "\" is not a date YYYY-MM-DD";
}

std::string checkServeAddress(const std::string& text) {
  try {
    parseServeAddress(text);
    return std::string();
  } catch (const std::invalid_argument& e) {
    return e.what();
  }
}

void keep(CLI::Option* option, const std::string& value, std::optional<std::string>& into) {
  if (option->count()) into = value;
}

}  // namespace

std::variant<Options, int> parseCommandLine(int argc, char** argv) {
  CLI::App app(kDescription, "settings-host");
  app.set_help_flag("-h,--help", "print this help and exit");
  app.set_version_flag("--version", "settings-host " SETTINGS_HOST_VERSION, "print the version and exit");

  Options options;
  std::string root, open, script, commands, language, today, serve;
  auto* rootOption = app.add_option("--root", root, "the device root (default: $DEVICE_ROOT, else /)")
                         ->type_name("DIR");
  auto* openOption = app.add_option("--open", open, "open the settings entry LABEL first (default: the settings "
                                                     "list)")
                         ->type_name("LABEL");
  auto* scriptOption = app.add_option("--script", script, "run the commands of FILE, one a line")->type_name("FILE");
  auto* commandsOption =
      app.add_option("-c", commands, "run COMMANDS, separated by ';'")->type_name("COMMANDS")->excludes(scriptOption);
  scriptOption->excludes(commandsOption);
  auto* languageOption =
      app.add_option("--lang", language, "the language of the panes and the host's words (default: from LANGUAGE, "
                                         "LC_ALL, LC_MESSAGES, LANG)")
          ->type_name("LANG")
          ->check(CLI::Validator(checkLanguage, ""));
  app.add_flag("--quiet", options.quiet, "do not report the files a command changed and the URLs it opened");
  app.add_flag("--no-history", options.noHistory, "keep no history file for the prompt");
  auto* todayOption = app.add_option("--today", today, "the date the preview takes as today (default: the local "
                                                       "date)")
                          ->type_name("DATE")
                          ->check(CLI::Validator(checkToday, ""));
  auto* serveOption =
      app.add_option("--serve", serve, "serve the panes as a page in a browser on ADDR (default 127.0.0.1) and "
                                       "PORT (0: a free one) until SIGINT or SIGTERM; the first line printed is "
                                       "its address")
          ->type_name("[ADDR:]PORT")
          ->check(CLI::Validator(checkServeAddress, ""))
          ->excludes(scriptOption)
          ->excludes(commandsOption);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    if (dynamic_cast<const CLI::CallForHelp*>(&error)) {
      std::cout << helpText(app);
      return 0;
    }
    if (error.get_exit_code() == 0) {
      app.exit(error, std::cout, std::cerr);
      return 0;
    }
    std::string message = error.what();
    if (!message.empty()) message[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(message[0])));
    std::cerr << "settings-host: " << message << " (try --help)\n";
    return 2;
  }
  keep(rootOption, root, options.root);
  keep(openOption, open, options.open);
  keep(scriptOption, script, options.script);
  keep(commandsOption, commands, options.commands);
  keep(languageOption, language, options.language);
  if (todayOption->count()) options.today = settings_preview::parsePreviewDate(today)->date;
  if (serveOption->count()) options.serve = parseServeAddress(serve);
  return options;
}

}  // namespace settings_host
