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
#include "WidgetData.h"
#include "platform/os/DeviceRoot.h"
#include "platform/os/FileSystem.h"
#include "platform/prefs/PreferenceStore.h"
#include "platform/plist/PropertyList.h"

using platform::Array;
using platform::Dictionary;
using platform::Value;

namespace {

constexpr int kRounds = 100;        // each starts two writers and kills both
constexpr int kEntries = 500;       // per version of the file
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

// Writes the file with the given entries.
using Writer = std::function<void(const Dictionary& entries)>;

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

Dictionary versionEntries(int version) {
  Dictionary entries;
  for (int i = 0; i < kEntries; ++i) entries.set("k" + std::to_string(i), "v" + std::to_string(version));
  return entries;
}

// Each round starts two writers that write two versions in turn until they
// are killed: each at a random moment within a quarter of a write's time
// after a temporary has appeared (or after ten writes' time if none does),
// so kills land before and after the rename alike.
Kills killWritersAtRandom(const std::string& path, const Writer& write) {
  Dictionary before[2] = {versionEntries(-1), versionEntries(-3)};
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 4; ++i) write(before[i % 2]);
  auto oneWrite = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start) / 4;
  std::mt19937 random(12345);
  std::uniform_int_distribution<long> delayUs(0, oneWrite.count() / 4);
  auto awaitTemporary = [&] {
    auto until = std::chrono::steady_clock::now() + 10 * oneWrite;
    while (temporariesOf(path).empty() && std::chrono::steady_clock::now() < until)
      std::this_thread::sleep_for(std::chrono::microseconds(20));
  };

  std::set<std::string> orphans;
  for (int round = 0; round < kRounds; ++round) {
    int ready[2];
    if (::pipe(ready) != 0) {
      ADD_FAILURE() << "no pipe";
      break;
    }
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
      children[c] = ::fork();
      if (children[c] == 0) {
        Dictionary versions[2] = {versionEntries(2 * round), versionEntries(2 * round + 1)};
        (void)!::write(ready[1], "r", 1);
        for (int v = 0;; v ^= 1) write(versions[v]);
      }
    }
    char byte;
    for (int c = 0; c < 2; ++c) (void)!::read(ready[0], &byte, 1);
    ::close(ready[0]);
    ::close(ready[1]);
    for (pid_t child : children) {
      awaitTemporary();
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

}  // namespace

TEST(KilledWriters, PreferenceDomainSweepsTheirTemporaries) {
  testing_support::TempRoot root;
  platform::PreferenceDomain& domain = platform::PreferenceDomain::named(kDomain);
  auto write = [&](const Dictionary& entries) {
    domain.setPersistentDomain(entries);
    domain.synchronize();
  };
  root.file("/var/mobile/Library/Preferences/" + std::string(kDomain) + ".plist");
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
  auto write = [](const Dictionary& entries) { velloria::writeWidgetData({{velloria::kSolarFestivalsKey, entries}}); };
  Kills kills = killWritersAtRandom(path, write);
  expectSweptAndWhole(
      path, kills, [] { return velloria::writeWidgetData({{velloria::kLunarFestivalsKey, Dictionary()}}); },
      [] { return velloria::widgetDictionary(velloria::readWidgetData(), velloria::kSolarFestivalsKey); });
}
