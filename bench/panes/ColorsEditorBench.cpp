// Adding one colour through the custom colours editor while the widget data
// file already holds 10,000 holidays: the time from the commit (the keyboard's
// did-hide notification) to the rewritten file on disk. Target: 10 ms.
#include <benchmark/benchmark.h>

#include <string>

#include "Foundation/NSNotificationCenter.h"
#include "Preferences/PSTableCell.h"
#include "TempRoot.h"
#include "VLRPCustomizeColorsController.h"
#include "WidgetData.h"
#include "platform/plist/PropertyList.h"

namespace {

void AddColorWithTenThousandHolidays(benchmark::State& state) {
  testing_support::TempRoot root;
  const long holidays = state.range(0);
  platform::Dictionary solar, lunar;
  for (long i = 0; i < holidays; ++i) {
    std::string name = "H";
    name += std::to_string(i % 100);
    (i % 2 ? lunar : solar).set(std::to_string(100000 + i), name);
  }
  platform::writePropertyListFile(root.file(velloria::kWidgetDataPath),
                                  platform::Dictionary{{"solar-festivals", solar}, {"lunar-festivals", lunar}});

  auto pane = std::make_shared<VLRPCustomizeColorsController>();
  pane->specifiers();
  auto cell = [&](long index) { return PSTableCell::cellForSpecifier(*pane->specifierAtIndex(index)); };
  auto center = NSNotificationCenter::defaultCenter();
  long n = 0;
  for (auto _ : state) {
    state.PauseTiming();
    cell(1)->textField()->setText("colour " + std::to_string(n++));
    cell(2)->textField()->setText("ff8800");
    state.ResumeTiming();
    center->postNotificationName(UIKeyboardDidHideNotification);
  }
  // After the loop: not timed.
  std::optional<platform::Dictionary> file = velloria::readWidgetData();
  if (!file || velloria::widgetDictionary(file, velloria::kExtraColorsKey).size() != static_cast<size_t>(n) ||
      velloria::widgetDictionary(file, velloria::kSolarFestivalsKey).size() != solar.size())
    state.SkipWithError("the file does not hold what was added");
}

BENCHMARK(AddColorWithTenThousandHolidays)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace

BENCHMARK_MAIN();
