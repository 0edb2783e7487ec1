// Hosts call the patched methods from any thread: threads setting and reading
// section paths while the patch installs itself, and after, never find a
// replacement without something to call on and never see a wrong path. Run
// with and without --inherit (the section class's two shapes).

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "objcxx/Messaging.h"
#include "SectionClasses.h"

namespace {

using objcxx::send;

const std::string kWidget = "/System/Library/WeeAppPlugins/Velloria.bundle";
const std::string kMoved = "/Library/WeeAppPlugins/Velloria.bundle";
const std::string kOther = "/Library/WeeAppPlugins/Weather.bundle";

SEL sel(const char* name) { return sel_registerName(name); }

id makeString(const std::string& text) {
  id allocated = send<id>(reinterpret_cast<id>(objc_getClass("NSString")), sel("alloc"));
  return send<id>(allocated, sel("initWithUTF8String:"), text.c_str());
}

// The text of a string object without autoreleasing anything; "nil" for nil.
std::string text(id string) {
  if (string == nil) return "nil";
  char buffer[256];
  if (!send<BOOL>(string, sel("getCString:maxLength:encoding:"), buffer, sizeof buffer, 4ul)) return "?";
  return buffer;
}

struct Counters {
  std::atomic<long> calls{0}, callsAfterInstall{0}, wrong{0};
};

void hammer(Counters& counters, const std::atomic<bool>& installed, const std::atomic<bool>& stop) {
  id record = send<id>(send<id>(reinterpret_cast<id>(objc_getClass("BBSectionInfo")), sel("alloc")), sel("init"));
  id moved = makeString(kMoved), other = makeString(kOther);
  SEL setter = sel("setPathToWeeAppPluginBundle:"), getter = sel("pathToWeeAppPluginBundle");
  while (!stop.load()) {
    bool after = installed.load(std::memory_order_acquire);
    send<void>(record, setter, moved);
    std::string held = text(bulletinboard::heldPath(record));
    std::string got = text(send<id>(record, getter));
    bool right = after ? held == kWidget && got == kWidget
                       : (held == kWidget && got == kWidget) || (held == kMoved && (got == kMoved || got == kWidget));
    send<void>(record, setter, other);
    right = right && text(bulletinboard::heldPath(record)) == kOther && text(send<id>(record, getter)) == kOther;
    if (!right) counters.wrong++;
    counters.calls++;
    if (after) counters.callsAfterInstall++;
  }
  send<void>(record, sel("release"));
  send<void>(moved, sel("release"));
  send<void>(other, sel("release"));
}

void waitFor(const std::atomic<long>& count, long target) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (count.load() < target && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TEST(SectionPatchThreads, CallsDuringAndAfterInstallationSeeConsistentPaths) {
  ASSERT_NE(objc_getClass("BBSectionInfo"), Nil);
  // Classes are initialised on first use; a host has used them long before
  // its threads run, and the runtime's first-use locking is not under test.
  send<void>(makeString(kOther), sel("release"));
  send<void>(send<id>(reinterpret_cast<id>(objc_getClass("BBSectionInfo")), sel("new")), sel("release"));
  constexpr int kThreads = 4;
  Counters counters;
  std::atomic<bool> installed{false}, stop{false};
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) threads.emplace_back(hammer, std::ref(counters), std::cref(installed), std::cref(stop));

  waitFor(counters.calls, 200);
  void* patch = dlopen(SECTION_PATCH_LIBRARY, RTLD_NOW | RTLD_GLOBAL);
  installed.store(true, std::memory_order_release);
  waitFor(counters.callsAfterInstall, 20000);
  stop = true;
  for (auto& thread : threads) thread.join();

  ASSERT_NE(patch, nullptr) << dlerror();
  EXPECT_GE(counters.callsAfterInstall.load(), 20000);
  EXPECT_EQ(counters.wrong.load(), 0) << "of " << counters.calls.load() << " calls";
}

}  // namespace
