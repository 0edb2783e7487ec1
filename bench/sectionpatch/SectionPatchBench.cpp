// The patched pathToWeeAppPluginBundle against the unpatched one, per call.
// The patch is loaded before the benchmarks run; the sibling record class
// shares the base implementation and is left unpatched, so it gives the cost
// of the host's own getter. Paths: one the patch rewrites, one it passes on.

#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cstdio>

#include "objcxx/Messaging.h"
#include "SectionClasses.h"

namespace {

using objcxx::send;

SEL sel(const char* name) { return sel_registerName(name); }

id record(const char* className, const char* path) {
  id made = send<id>(send<id>(reinterpret_cast<id>(objc_getClass(className)), sel("alloc")), sel("init"));
  id string = send<id>(send<id>(reinterpret_cast<id>(objc_getClass("NSString")), sel("alloc")),
                       sel("initWithUTF8String:"), path);
  bulletinboard::storePath(made, string);
  send<void>(string, sel("release"));
  return made;
}

void getter(benchmark::State& state, const char* className, const char* path) {
  id subject = record(className, path);
  SEL selector = sel("pathToWeeAppPluginBundle");
  for (auto _ : state) benchmark::DoNotOptimize(send<id>(subject, selector));
  send<void>(subject, sel("release"));
}

constexpr const char* kMoved = "/Library/WeeAppPlugins/Velloria.bundle";
constexpr const char* kOther = "/Library/WeeAppPlugins/Weather.bundle";

BENCHMARK_CAPTURE(getter, unpatched_widget_path, bulletinboard::kSiblingClass, kMoved);
BENCHMARK_CAPTURE(getter, patched_widget_path, bulletinboard::kSectionClass, kMoved);
BENCHMARK_CAPTURE(getter, unpatched_other_path, bulletinboard::kSiblingClass, kOther);
BENCHMARK_CAPTURE(getter, patched_other_path, bulletinboard::kSectionClass, kOther);

}  // namespace

int main(int argc, char** argv) {
  if (dlopen(SECTION_PATCH_LIBRARY, RTLD_NOW | RTLD_GLOBAL) == nullptr) {
    std::fprintf(stderr, "cannot load the patch: %s\n", dlerror());
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
