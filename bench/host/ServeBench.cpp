// A command's round trip through the served host's API (POST /api/command
// over a kept-alive connection, the command run on the host's thread, the
// state sent back) against the same command run in-process: `show` on the
// Velloria main pane. The bundle and its entry come from the build tree.
#include <benchmark/benchmark.h>
#include <httplib.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "HostApi.h"
#include "MainThreadQueue.h"
#include "SettingsHost.h"
#include "TempRoot.h"
#include "WebServer.h"

namespace {

namespace fs = std::filesystem;

class VelloriaImage {
 public:
  VelloriaImage() {
    for (const char* part : {"Library/PreferenceBundles/VelloriaSettings.bundle",
                             "Library/PreferenceLoader/Preferences/VelloriaSettings.plist"}) {
      fs::create_directories((root_.path() / part).parent_path());
      fs::copy(fs::path(VELLORIA_BINARY_DIR) / part, root_.path() / part, fs::copy_options::recursive);
    }
  }

 private:
  testing_support::TempRoot root_;
};

void BM_ShowInProcess(benchmark::State& state) {
  VelloriaImage image;
  std::ostream discarded(nullptr);
  settings_host::SettingsHost host(discarded, false);
  host.execute("open Velloria");
  for (auto _ : state) host.execute("show");
}
BENCHMARK(BM_ShowInProcess)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_ShowThroughTheApi(benchmark::State& state) {
  VelloriaImage image;
  std::ostream discarded(nullptr);
  settings_host::SettingsHost host(discarded, false);
  host.execute("open Velloria");
  settings_host::MainThreadQueue queue;
  settings_host::HostApi api(host, "en");
  settings_host::WebServer server(queue, api, settings_host::WebFolder(), "token");
  int port = server.bind({"127.0.0.1", 0});
  server.start();
  // From here on only this thread touches the host, as the served host's
  // main thread does.
  std::atomic<bool> done{false};
  std::thread hostThread([&] { queue.serve([&] { return done.load(); }, std::chrono::milliseconds(100)); });

  httplib::Client client("127.0.0.1", port);
  client.set_keep_alive(true);
  client.set_tcp_nodelay(true);  // as browsers do
  httplib::Headers headers{{"Authorization", "Bearer token"}};
  for (auto _ : state) {
    auto answer = client.Post("/api/command", headers, R"({"command": "show"})", "application/json");
    if (!answer || answer->status != 200 || answer->body.find("\"ok\": true") == std::string::npos) {
      state.SkipWithError("the API did not answer ok");
      break;
    }
  }
  done = true;
  hostThread.join();
  queue.close();
  server.stop();
}
BENCHMARK(BM_ShowThroughTheApi)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
