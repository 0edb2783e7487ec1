#include "HistoryFile.h"

#include "CommandText.h"
#include "platform/os/Environment.h"
#include "platform/os/FileSystem.h"

namespace settings_host {
namespace {

constexpr std::uint64_t kMaxHistoryBytes = 4u << 20;

}  // namespace

std::optional<std::string> historyFilePath() {
  auto state = platform::environment("XDG_STATE_HOME");
  if (state && !state->empty() && (*state)[0] == '/') return *state + "/settings-host/history";
  auto home = platform::environment("HOME");
  if (home && !home->empty()) return *home + "/.local/state/settings-host/history";
  return std::nullopt;
}

std::vector<std::string> readHistory(const std::string& path) {
  auto bytes = platform::readFile(path, kMaxHistoryBytes);
  if (!bytes) return {};
  std::vector<std::string> lines;
  for (std::string& line : splitLines(std::string(bytes->begin(), bytes->end())))
    if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

bool appendHistory(const std::string& path, const std::vector<std::string>& lines) {
  if (lines.empty()) return true;
  std::vector<std::string> all = readHistory(path);
  all.insert(all.end(), lines.begin(), lines.end());
  std::size_t first = all.size() > kHistoryLines ? all.size() - kHistoryLines : 0;
  std::string text;
  for (std::size_t i = first; i < all.size(); ++i) text += all[i] + "\n";
  std::size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !platform::createDirectories(path.substr(0, slash))) return false;
  return platform::writeFileAtomically(path, text);
}

}  // namespace settings_host
