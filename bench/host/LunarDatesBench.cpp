// Lunar dates for a month's view (six weeks), as the settings preview draws
// them: a small part of its 20 ms.
#include <benchmark/benchmark.h>

#include "LunarCalendar.h"

namespace {

void BM_LunarDatesForAMonthView(benchmark::State& state) {
  int month = 0;
  for (auto _ : state) {
    // A different month each time, so no lookup repeats the last one.
    auto dates = settings_preview::lunarDatesFrom(2000 + month / 12, month % 12 + 1, 1, 42);
    benchmark::DoNotOptimize(dates);
    month = (month + 7) % 1200;
  }
}
BENCHMARK(BM_LunarDatesForAMonthView)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
