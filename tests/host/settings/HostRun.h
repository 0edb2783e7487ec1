// Runs the settings-host program for a test: a temporary device root with the
// test bundle installed, and a way to run the host over it and collect what
// it printed and how it exited.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TempRoot.h"

extern char** environ;

namespace host_test {

struct HostResult {
  int exitCode = -1;
  std::string out, err;
};

inline std::string readText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Runs the host with `args`, standard input from `input`; files for the
// streams live in `scratch` (outside the device root).
inline HostResult runHost(const std::vector<std::string>& args, const std::filesystem::path& scratch,
                          const std::string& input = "") {
  std::filesystem::create_directories(scratch);
  auto inPath = scratch / "stdin", outPath = scratch / "stdout", errPath = scratch / "stderr";
  std::ofstream(inPath, std::ios::binary) << input;
  std::vector<std::string> all{SETTINGS_HOST_PATH};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, inPath.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = -1;
  HostResult result;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  result.out = readText(outPath);
  result.err = readText(errPath);
  return result;
}

// A device root with the test bundle and its settings entry installed.
class HostFixture {
 public:
  HostFixture() {
    namespace fs = std::filesystem;
    fs::path fixtures = fs::path(HOST_FIXTURES_DIR);
    fs::path bundle = root_.path() / "Library/PreferenceBundles/HostTest.bundle";
    fs::create_directories(bundle);
    fs::copy(fixtures / "HostTest.bundle", bundle, fs::copy_options::recursive);
    fs::copy_file(HOST_TEST_BUNDLE_LIBRARY, bundle / "HostTest");
    fs::create_directories(root_.path() / "Library/PreferenceLoader/Preferences");
    fs::copy_file(fixtures / "HostTest.entry.plist", root_.path() / "Library/PreferenceLoader/Preferences/HostTest.plist");
    fs::create_directories(root_.path() / "var/mobile/Library/Preferences");
    scratch_ = root_.path().string() + "-streams";
  }
  ~HostFixture() {
    std::error_code ec;
    std::filesystem::remove_all(scratch_, ec);
  }

  // settings-host --root ROOT -c COMMANDS
  HostResult run(const std::string& commands) const {
    return runHost({"--root", root_.path().string(), "-c", commands}, scratch_);
  }
  HostResult runArgs(const std::vector<std::string>& args, const std::string& input = "") const {
    return runHost(args, scratch_, input);
  }

  const std::filesystem::path& root() const { return root_.path(); }
  const std::filesystem::path& scratch() const { return scratch_; }
  // The host path of the test bundle's preference domain.
  std::filesystem::path domainFile() const {
    return root_.path() / "var/mobile/Library/Preferences/com.example.hosttest.plist";
  }

 private:
  testing_support::TempRoot root_;
  std::filesystem::path scratch_;
};

}  // namespace host_test
