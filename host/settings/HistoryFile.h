// The prompt's history file, kept between sessions as ~/.sqlite_history is:
// one command a line, the newest last, at most kHistoryLines of them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace settings_host {

inline constexpr std::size_t kHistoryLines = 1000;

// $XDG_STATE_HOME/settings-host/history (XDG_STATE_HOME must be absolute),
// else $HOME/.local/state/settings-host/history; nothing when neither is set.
std::optional<std::string> historyFilePath();

// The lines the file holds (none when it is missing or unreadable).
std::vector<std::string> readHistory(const std::string& path);

// Appends a session's lines to what the file holds now (another session may
// have written since), keeps the newest kHistoryLines and writes the file
// atomically, creating its directory. False when it cannot be written.
bool appendHistory(const std::string& path, const std::vector<std::string>& lines);

}  // namespace settings_host
