// The interactive prompt, on libedit's own interface: line editing, Tab
// completion from the host's commands, entries and choices, history kept in
// a file between sessions, and Ctrl-C cancelling the line being typed.
//
// libedit reads keys through the prompt's own reader (platform's
// readInputByte), which a stop signal always interrupts: libedit's own
// signal handling is off, since it passes signals on to the whole process
// group and can miss one that arrives between two keys.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "SettingsHost.h"

struct editline;
struct history;

namespace settings_host {

class Prompt {
 public:
  // Completes for `host`. With a history path, the file's lines are the
  // history to start with and the session's lines are added to it at the
  // end; without one, history lasts for the session only.
  Prompt(SettingsHost& host, std::optional<std::string> historyPath);
  // Writes the history file.
  ~Prompt();
  Prompt(const Prompt&) = delete;
  Prompt& operator=(const Prompt&) = delete;

  // Reads one line after showing `prompt`. Ctrl-C drops the line being
  // typed and starts afresh on a new line. Nothing at the end of input
  // (Ctrl-D on an empty line) or when a termination signal arrived.
  std::optional<std::string> readLine(const std::string& prompt);

  // Adds a line to the history.
  void remember(const std::string& line);

  // What Tab does (called by libedit): completes the word before the cursor
  // as far as the candidates agree, or lists them when they go no further.
  unsigned char complete();
  // The prompt being shown (for libedit).
  const char* promptText() const { return prompt_.c_str(); }

 private:
  SettingsHost& host_;
  std::optional<std::string> historyPath_;
  std::vector<std::string> sessionLines_;
  std::string prompt_;
  struct editline* editor_ = nullptr;
  struct history* history_ = nullptr;
};

}  // namespace settings_host
