#include "Prompt.h"

#include <editline/readline.h>

#include <cstdlib>
#include <cstring>
#include <iostream>

#include "HistoryFile.h"
#include "platform/core/Strings.h"
#include "platform/os/Signals.h"

namespace settings_host {
namespace {

// readline's callbacks are plain functions: the host they complete for.
SettingsHost* gHost = nullptr;
std::vector<std::string> gMatches;

// The byte offset of the code point `count` code points into a UTF-8 line
// (libedit counts the cursor in characters).
std::size_t byteOffset(const char* line, int count) {
  std::size_t offset = 0, length = std::strlen(line);
  for (int seen = 0; seen < count && offset < length; ++seen) {
    ++offset;
    while (offset < length && (static_cast<unsigned char>(line[offset]) & 0xC0) == 0x80) ++offset;
  }
  return offset;
}

// The part of a candidate that replaces the word being completed: the
// candidate after the text typed before that word (which may differ from
// the candidate in letter case).
std::optional<std::string> tailAfter(const std::string& candidate, const std::string& typedBefore) {
  std::string folded = platform::foldCase(typedBefore);
  for (std::size_t k = 0; k <= candidate.size(); ++k) {
    if (k < candidate.size() && (static_cast<unsigned char>(candidate[k]) & 0xC0) == 0x80) continue;
    std::string head = platform::foldCase(candidate.substr(0, k));
    if (head == folded) return candidate.substr(k);
    if (head.size() > folded.size()) break;
  }
  return std::nullopt;
}

char* nextMatch(const char*, int state) {
  static std::size_t next = 0;
  if (state == 0) next = 0;
  return next < gMatches.size() ? strdup(gMatches[next++].c_str()) : nullptr;
}

char** completeWord(const char* text, int, int end) {
  rl_attempted_completion_over = 1;  // never fall back to file names
  std::string line = rl_line_buffer ? rl_line_buffer : "";
  std::size_t cursor = byteOffset(line.c_str(), end);
  std::size_t wordLength = std::strlen(text);
  std::size_t wordStart = cursor >= wordLength ? cursor - wordLength : 0;
  SettingsHost::Completion completion = gHost->complete(std::string_view(line).substr(0, cursor));
  gMatches.clear();
  if (wordStart < completion.start) return nullptr;
  std::string typedBefore = line.substr(completion.start, wordStart - completion.start);
  for (const std::string& candidate : completion.candidates)
    if (auto tail = tailAfter(candidate, typedBefore)) gMatches.push_back(*tail);
  if (gMatches.empty()) return nullptr;
  return rl_completion_matches(text, nextMatch);
}

}  // namespace

Prompt::Prompt(SettingsHost& host, std::optional<std::string> historyPath) : historyPath_(std::move(historyPath)) {
  gHost = &host;
  // The host catches the signals itself: libedit's own handlers would pass
  // them on to the whole process group.
  rl_catch_signals = 0;
  rl_attempted_completion_function = completeWord;
  rl_readline_name = "settings-host";
  using_history();
  stifle_history(static_cast<int>(kHistoryLines));
  if (historyPath_)
    for (const std::string& line : readHistory(*historyPath_)) add_history(line.c_str());
}

Prompt::~Prompt() {
  if (historyPath_ && !appendHistory(*historyPath_, sessionLines_))
    std::cerr << "settings-host: cannot write the history file " << *historyPath_ << '\n';
  gHost = nullptr;
}

std::optional<std::string> Prompt::readLine(const std::string& prompt) {
  while (true) {
    platform::takeInterrupt();  // a Ctrl-C while a command ran is spent
    platform::catchStopSignals(true);
    char* raw = readline(prompt.c_str());
    platform::catchStopSignals(false);
    bool interrupted = platform::takeInterrupt();
    std::optional<std::string> line;
    if (raw) line = raw;
    std::free(raw);
    if (platform::pendingTermination() != platform::StopSignal::None) {
      std::cout << '\n';
      return std::nullopt;
    }
    if (interrupted) {
      std::cout << "^C\n";
      std::cout.flush();
      continue;
    }
    if (!line) std::cout << '\n';
    return line;
  }
}

void Prompt::remember(const std::string& line) {
  add_history(line.c_str());
  sessionLines_.push_back(line);
}

}  // namespace settings_host
