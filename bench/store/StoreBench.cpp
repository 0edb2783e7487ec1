// What the stored settings cost. Each figure comes with the baseline it is
// judged against, measured in the same run:
//   - a getter on an unchanged domain against one stat of its file;
//   - reading a widget data file of 10,000 holidays against libplist's own
//     parse of the same bytes (read from the file the same way);
//   - writing that file (fsync included), and the locked read-modify-write
//     of it that every editor's save is.
#include <benchmark/benchmark.h>
#include <plist/plist.h>

#include "TempRoot.h"
#include "Velloria/QHPreferences.h"
#include "WidgetData.h"
#include "platform/os/FileSystem.h"
#include "platform/plist/PropertyList.h"

namespace {

const char* kDomainFile = "/var/mobile/Library/Preferences/com.quietharbor.velloria.plist";

platform::Dictionary holidays(int n) {
  platform::Dictionary solar;
  for (int i = 0; i < n; ++i) solar.set(std::to_string(100000 + i), "\xE6\x98\xA5\xE8\x8A\x82" + std::to_string(i % 10));
  return platform::Dictionary{{"extra-colors", platform::Dictionary{{"Mine", "123456"}}},
                              {"solar-festivals", std::move(solar)},
                              {"lunar-festivals", platform::Dictionary{{"0101", "New"}}}};
}

void GetterOnUnchangedDomain(benchmark::State& state) {
  testing_support::TempRoot root;
  platform::Dictionary domain;
  for (long i = 0; i < state.range(0); ++i) domain.set("key" + std::to_string(i), "FF0000");
  platform::writePropertyListFile(root.file(kDomainFile), domain);
  for (auto _ : state) {
    void* pool = objc_autoreleasePoolPush();
    benchmark::DoNotOptimize(QHPreferenceStringForKey(CFSTR("key7")));
    objc_autoreleasePoolPop(pool);
  }
}
BENCHMARK(GetterOnUnchangedDomain)->Arg(10)->Arg(1000)->Arg(10000);

void StatOfDomainFile(benchmark::State& state) {
  testing_support::TempRoot root;
  std::string path = root.file(kDomainFile);
  platform::writePropertyListFile(path, platform::Dictionary{{"k", 1}});
  for (auto _ : state) benchmark::DoNotOptimize(platform::statFile(path));
}
BENCHMARK(StatOfDomainFile);

void ReadWidgetData10k(benchmark::State& state) {
  testing_support::TempRoot root;
  platform::writePropertyListFile(root.file(velloria::kWidgetDataPath), holidays(10000));
  for (auto _ : state) benchmark::DoNotOptimize(velloria::readWidgetData());
}
BENCHMARK(ReadWidgetData10k)->Unit(benchmark::kMicrosecond);

void LibplistParse10k(benchmark::State& state) {
  testing_support::TempRoot root;
  std::string path = root.file(velloria::kWidgetDataPath);
  platform::writePropertyListFile(path, holidays(10000));
  for (auto _ : state) {
    auto bytes = platform::readFile(path, 1 << 26);
    plist_t node = nullptr;
    plist_from_xml(reinterpret_cast<const char*>(bytes->data()), static_cast<uint32_t>(bytes->size()), &node);
    benchmark::DoNotOptimize(node);
    plist_free(node);
  }
}
BENCHMARK(LibplistParse10k)->Unit(benchmark::kMicrosecond);

void WriteWidgetData10k(benchmark::State& state) {
  testing_support::TempRoot root;
  std::string path = root.file(velloria::kWidgetDataPath);
  platform::Dictionary data = holidays(10000);
  for (auto _ : state) platform::writePropertyListFile(path, data);
}
BENCHMARK(WriteWidgetData10k)->Unit(benchmark::kMillisecond);

void RewriteWidgetData10k(benchmark::State& state) {
  testing_support::TempRoot root;
  platform::writePropertyListFile(root.file(velloria::kWidgetDataPath), holidays(10000));
  platform::Dictionary colors{{"Mine", "123456"}};
  int i = 0;
  for (auto _ : state) {
    colors.set("Mine", std::to_string(++i % 2));
    velloria::writeWidgetData({{"extra-colors", colors}});
  }
}
BENCHMARK(RewriteWidgetData10k)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
