#include "Prompt.h"

#include <histedit.h>

#include <algorithm>
#include <cwchar>
#include <iostream>

#include "HistoryFile.h"
#include "platform/core/Strings.h"
#include "platform/core/TerminalText.h"
#include "platform/os/Signals.h"
#include "platform/os/Terminal.h"

namespace settings_host {
namespace {

Prompt* promptOf(EditLine* editor) {
  void* data = nullptr;
  el_get(editor, EL_CLIENTDATA, &data);
  return static_cast<Prompt*>(data);
}

// libedit's reader: one character, decoded from UTF-8 (the terminal's
// encoding, see useUTF8Terminal). 1 with a character, 0 at the end of
// input, -1 when a stop signal ends the wait.
int readCharacter(EditLine*, wchar_t* character) {
  std::mbstate_t state{};
  while (true) {
    unsigned char byte = 0;
    switch (platform::readInputByte(byte)) {
      case platform::InputRead::End: return 0;
      case platform::InputRead::Stopped: return -1;
      case platform::InputRead::Byte: break;
    }
    char c = static_cast<char>(byte);
    std::size_t n = std::mbrtowc(character, &c, 1, &state);
    if (n == static_cast<std::size_t>(-2)) continue;  // more bytes to come
    if (n != static_cast<std::size_t>(-1)) return 1;
    state = {};  // not UTF-8: the bytes so far are dropped
  }
}

char* showPrompt(EditLine* editor) { return const_cast<char*>(promptOf(editor)->promptText()); }

unsigned char completeKey(EditLine* editor, int) { return promptOf(editor)->complete(); }

// The characters of UTF-8 text (libedit counts deletions in characters).
int characterCount(std::string_view text) {
  return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// The longest prefix of `first` that every candidate starts with, in any
// letter case, ending at a character boundary.
std::string commonPrefix(const std::vector<std::string>& candidates) {
  const std::string& first = candidates.front();
  std::string best;
  for (std::size_t k = 1; k <= first.size(); ++k) {
    if (k < first.size() && (first[k] & 0xC0) == 0x80) continue;
    std::string folded = platform::foldCase(first.substr(0, k));
    bool shared = std::all_of(candidates.begin(), candidates.end(), [&](const std::string& c) {
      return platform::foldCase(c).starts_with(folded);
    });
    if (!shared) break;
    best = first.substr(0, k);
  }
  return best;
}

// The candidates in columns fitting the terminal, as shells list them.
void listCandidates(const std::vector<std::string>& candidates) {
  std::vector<std::string> shown;
  std::size_t widest = 0;
  for (const std::string& c : candidates) {
    shown.push_back(platform::visibleText(c));
    widest = std::max(widest, platform::displayColumns(shown.back()));
  }
  std::size_t width = platform::terminalColumns();
  std::size_t perLine = width > widest + 2 ? width / (widest + 2) : 1;
  std::cout << '\n';
  for (std::size_t i = 0; i < shown.size(); ++i) {
    bool last = (i + 1) % perLine == 0 || i + 1 == shown.size();
    std::cout << shown[i];
    if (!last) std::cout << std::string(widest + 2 - platform::displayColumns(shown[i]), ' ');
    else std::cout << '\n';
  }
  std::cout.flush();
}

}  // namespace

Prompt::Prompt(SettingsHost& host, std::optional<std::string> historyPath)
    : host_(host), historyPath_(std::move(historyPath)) {
  HistEvent event;
  history_ = history_init();
  ::history(history_, &event, H_SETSIZE, static_cast<int>(kHistoryLines));
  if (historyPath_)
    for (const std::string& line : readHistory(*historyPath_)) ::history(history_, &event, H_ENTER, line.c_str());

  editor_ = el_init("settings-host", stdin, stdout, stderr);
  el_set(editor_, EL_CLIENTDATA, this);
  el_set(editor_, EL_EDITOR, "emacs");
  el_set(editor_, EL_SIGNAL, 0);
  el_set(editor_, EL_GETCFN, readCharacter);
  el_set(editor_, EL_PROMPT, showPrompt);
  el_set(editor_, EL_HIST, ::history, history_);
  // The wide form keeps the (static) names as they are; the narrow one
  // copies them and never frees the copies.
  el_wset(editor_, EL_ADDFN, L"settings-complete", L"complete a command, label or choice", completeKey);
  el_set(editor_, EL_BIND, "^I", "settings-complete", nullptr);
}

Prompt::~Prompt() {
  el_end(editor_);
  history_end(history_);
  if (historyPath_ && !appendHistory(*historyPath_, sessionLines_))
    std::cerr << "settings-host: cannot write the history file " << platform::visibleText(*historyPath_) << '\n';
}

std::optional<std::string> Prompt::readLine(const std::string& prompt) {
  prompt_ = prompt;
  while (true) {
    platform::takeInterrupt();  // a Ctrl-C while a command ran is spent
    // The terminal goes into editing mode before the prompt is shown, so a
    // key pressed as soon as it appears is the editor's (libedit would only
    // switch at its first read, and the terminal would take a Ctrl-D typed
    // in between as its own end of file).
    el_set(editor_, EL_PREP_TERM, 1);
    int count = 0;
    const char* raw = el_gets(editor_, &count);
    std::optional<std::string> line;
    if (raw && count > 0) line = std::string(raw, static_cast<std::size_t>(count));
    if (platform::pendingTermination() != platform::StopSignal::None) {
      std::cout << '\n';
      return std::nullopt;
    }
    if (platform::takeInterrupt()) {
      std::cout << "^C\n";
      std::cout.flush();
      continue;
    }
    if (!line) {
      std::cout << '\n';
      return std::nullopt;
    }
    if (!line->empty() && line->back() == '\n') line->pop_back();
    return line;
  }
}

void Prompt::remember(const std::string& line) {
  HistEvent event;
  ::history(history_, &event, H_ENTER, line.c_str());
  sessionLines_.push_back(line);
}

unsigned char Prompt::complete() {
  const LineInfo* info = el_line(editor_);
  std::string before(info->buffer, static_cast<std::size_t>(info->cursor - info->buffer));
  SettingsHost::Completion completion = host_.complete(before);
  if (completion.candidates.empty()) return CC_REFRESH_BEEP;
  std::string typed = before.substr(completion.start);
  std::string replacement = completion.candidates.size() == 1 ? completion.candidates.front() + " "
                                                              : commonPrefix(completion.candidates);
  if (completion.candidates.size() == 1 || characterCount(replacement) > characterCount(typed)) {
    el_deletestr(editor_, characterCount(typed));
    el_insertstr(editor_, replacement.c_str());
    return CC_REFRESH;
  }
  listCandidates(completion.candidates);
  return CC_REDISPLAY;
}

}  // namespace settings_host
