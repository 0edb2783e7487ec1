#include "ChildProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

namespace sectionpatch_test {
namespace {

std::string slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> childEnvironment(const std::map<std::string, std::string>& overrides) {
  std::map<std::string, std::string> merged;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    std::string item = *entry;
    std::size_t eq = item.find('=');
    if (eq != std::string::npos) merged[item.substr(0, eq)] = item.substr(eq + 1);
  }
  // Under the sanitizers the preloaded libraries come before the sanitizer
  // runtime, and the Objective-C runtime keeps its classes until exit.
  merged["ASAN_OPTIONS"] = "verify_asan_link_order=0:detect_leaks=0";
  for (const auto& [name, value] : overrides) {
    if (value.empty())
      merged.erase(name);
    else
      merged[name] = value;
  }
  std::vector<std::string> entries;
  for (const auto& [name, value] : merged) entries.push_back(name + "=" + value);
  return entries;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
  std::vector<char*> result;
  for (auto& s : strings) result.push_back(s.data());
  result.push_back(nullptr);
  return result;
}

}  // namespace

std::vector<std::string> ChildResult::outLines() const {
  std::vector<std::string> lines;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

ChildResult runChild(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
                     const std::string& input) {
  std::string tmpl = (std::filesystem::temp_directory_path() / "velloria-child-XXXXXX").string();
  std::filesystem::path dir = mkdtemp(tmpl.data());
  std::filesystem::path in = dir / "in", out = dir / "out", err = dir / "err";
  std::ofstream(in, std::ios::binary) << input;

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<std::string> args = argv, envs = childEnvironment(env);
  auto argp = pointers(args), envp = pointers(envs);
  pid_t pid = 0;
  ChildResult result;
  if (posix_spawn(&pid, argp[0], &actions, nullptr, argp.data(), envp.data()) == 0) {
    int wstatus = 0;
    waitpid(pid, &wstatus, 0);
    if (WIFEXITED(wstatus)) result.status = WEXITSTATUS(wstatus);
  }
  posix_spawn_file_actions_destroy(&actions);
  result.out = slurp(out);
  result.err = slurp(err);
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  return result;
}

}  // namespace sectionpatch_test
