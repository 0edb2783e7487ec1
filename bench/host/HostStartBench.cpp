// Settings host start to main pane drawn: the whole program (process start,
// libraries, entry list, bundle load, pane built and drawn), and the same
// work inside one process without the process start.
#include <benchmark/benchmark.h>

#include <sstream>

#include "HostRun.h"
#include "SettingsHost.h"

namespace {

void BM_HostProcessStartToMainPaneDrawn(benchmark::State& state) {
  host_test::HostFixture host;
  for (auto _ : state) {
    auto r = host.run("open Host Test; show");
    if (r.exitCode != 0) state.SkipWithError(r.err.c_str());
  }
}
BENCHMARK(BM_HostProcessStartToMainPaneDrawn)->UseRealTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_HostOpenAndDrawInProcess(benchmark::State& state) {
  host_test::HostFixture host;
  for (auto _ : state) {
    std::ostringstream out;
    settings_host::SettingsHost settings(out, false);
    settings.execute("open Host Test");
    settings.draw();
    benchmark::DoNotOptimize(out.str());
  }
}
BENCHMARK(BM_HostOpenAndDrawInProcess)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
