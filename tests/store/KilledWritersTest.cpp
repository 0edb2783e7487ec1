// Writers killed at random moments: the file always reads as one whole
// version, and the next write under the lock sweeps every temporary the dead
// writers left, and nothing else.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <set>
#include <random>
#include <thread>

#include "TempRoot.h"
#include "Velloria/WidgetData.h"
#include "platform/DeviceRoot.h"
#include "platform/FileSystem.h"
#include "platform/PreferenceStore.h"
#include "platform/PropertyList.h"

using platform::Array;
using platform::Dictionary;
using platform::Value;

namespace {

constexpr int kRounds = 100;        // each starts two writers and kills both
constexpr int kEntries = 4000;      // a large file keeps writes slow enough to be hit
constexpr const char* kDomain = "com.quietharbor.velloria";

std::vector<std::string> temporariesOf(const std::string& path) {
  std::filesystem::path p(path);
  std::string prefix = "." + p.filename().string() + ".tmp-";
  std::vector<std::string> found;
  for (const auto& name : platform::listDirectory(p.parent_path().string())) {
    if (name.starts_with(prefix)) found.push_back(name);
  }
  return found;
}

// Writes version after version of the file until killed.
using Writer = std::function<void(int version)>;

// Whether the file holds one whole version: kEntries values that all equal.
bool oneWholeVersion(const Dictionary& entries) {
  if (entries.size() != static_cast<std::size_t>(kEntries)) return false;
  const Value& first = entries.begin()->second;
  for (const auto& [key, value] : entries) {
    if (!(value == first)) return false;
  }
  return true;
}

struct Kills {
  std::size_t orphaned = 0;  // temporaries the dead writers left, over all rounds
  std::size_t left = 0;      // of those, the ones still there after the last round
};

Kills killWritersAtRandom(const std::string& path, const Writer& write) {
  std::set<std::string> orphans;
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> delayUs(0, 20000);
  for (int round = 0; round < kRounds; ++round) {
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
      children[c] = ::fork();
      if (children[c] == 0) {
        for (int version = round * 1000 + c;; version += 2) write(version);
      }
    }
    for (pid_t child : children) {
      std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
      ::kill(child, SIGKILL);
      ::waitpid(child, nullptr, 0);
    }
    for (const auto& name : temporariesOf(path)) orphans.insert(name);
  }
  return {orphans.size(), temporariesOf(path).size()};
}

// Files that look almost like temporaries of the path; the sweep must leave
// every one of them.
std::vector<std::string> plantLookalikes(const std::string& path) {
  std::filesystem::path p(path);
  std::string dir = p.parent_path().string() + "/", name = p.filename().string();
  std::vector<std::string> planted = {dir + "." + name + ".tmp-ABCDEFG", dir + "." + name + ".tmp-AB12",
                                      dir + "." + name + ".tmp-AB_12C", dir + name + ".tmp-ABC123",
                                      dir + ".other.plist.tmp-ABC123"};
  for (const auto& file : planted) std::fclose(std::fopen(file.c_str(), "w"));
  std::filesystem::create_directory(dir + "." + name + ".tmp-dir123");
  planted.push_back(dir + "." + name + ".tmp-dir123");
  return planted;
}

void expectSweptAndWhole(const std::string& path, Kills kills, const std::function<bool()>& cleanWrite,
                         const std::function<Dictionary()>& entries) {
  std::printf("%s: %d writers killed, %zu left a temporary, %zu still there after the last kill\n",
              std::filesystem::path(path).filename().c_str(), 2 * kRounds, kills.orphaned, kills.left);
  EXPECT_GT(kills.orphaned, 0u) << "no kill hit a write: nothing was tested";
  EXPECT_TRUE(oneWholeVersion(entries())) << "after the kills";
  auto lookalikes = plantLookalikes(path);
  ASSERT_TRUE(cleanWrite());
  EXPECT_EQ(temporariesOf(path).size(), 4u) << "only the four look-alikes with the temporaries' prefix are left";
  for (const auto& file : lookalikes) EXPECT_TRUE(std::filesystem::exists(file)) << file;
  EXPECT_TRUE(oneWholeVersion(entries())) << "after the clean write";
}

Dictionary versionEntries(int version) {
  Dictionary entries;
  for (int i = 0; i < kEntries; ++i) entries.set("k" + std::to_string(i), "v" + std::to_string(version));
  return entries;
}

}  // namespace

TEST(KilledWriters, PreferenceDomainSweepsTheirTemporaries) {
  testing_support::TempRoot root;
  platform::PreferenceDomain& domain = platform::PreferenceDomain::named(kDomain);
  auto write = [&](int version) {
    domain.setPersistentDomain(versionEntries(version));
    domain.synchronize();
  };
  root.file("/var/mobile/Library/Preferences/" + std::string(kDomain) + ".plist");
  write(-1);
  Kills kills = killWritersAtRandom(domain.path(), write);
  expectSweptAndWhole(
      domain.path(), kills,
      [&] {
        domain.setPersistentDomain(versionEntries(-2));
        return domain.synchronize();
      },
      [&] { return platform::readDictionaryFile(domain.path()).value_or(Dictionary()); });
}

TEST(KilledWriters, WidgetDataSweepsTheirTemporaries) {
  testing_support::TempRoot root;
  std::string path = platform::resolveDevicePath(velloria::kWidgetDataPath);
  root.file(velloria::kWidgetDataPath);
  auto write = [](int version) {
    velloria::writeWidgetData({{velloria::kSolarFestivalsKey, versionEntries(version)}});
  };
  write(-1);
  Kills kills = killWritersAtRandom(path, write);
  expectSweptAndWhole(
      path, kills, [] { return velloria::writeWidgetData({{velloria::kLunarFestivalsKey, Dictionary()}}); },
      [] { return velloria::widgetDictionary(velloria::readWidgetData(), velloria::kSolarFestivalsKey); });
}
