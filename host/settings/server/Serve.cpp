#include "Serve.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <iostream>

#include "HostApi.h"
#include "MainThreadQueue.h"
#include "WebFolder.h"
#include "WebServer.h"
#include "platform/os/Random.h"

namespace settings_host {
namespace {

// 128 random bits in hex.
std::string newToken() {
  std::array<std::uint8_t, 16> bytes;
  platform::fillRandomBytes(bytes);
  std::string token;
  for (std::uint8_t byte : bytes) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02x", byte);
    token += digits;
  }
  return token;
}

}  // namespace

int serve(SettingsHost& host, const ServeAddress& address, const std::string& language,
          const std::function<bool()>& stopRequested) {
  std::string folder = installedWebFolder();
  WebFolder page = WebFolder::load(folder);
  if (page.empty() || !page.find("/")) {
    std::cerr << "settings-host: --serve: no page to serve in " << folder << " (install the image first)\n";
    return 1;
  }
  std::string token = newToken();
  MainThreadQueue queue;
  HostApi api(host, language);
  WebServer server(queue, api, std::move(page), token);
  int port = 0;
  try {
    port = server.bind(address);
  } catch (const std::exception& e) {
    std::cerr << "settings-host: --serve: " << e.what() << '\n';
    return 1;
  }
  if (!isLoopback(address.host))
    std::cerr << "settings-host: warning: serving on " << urlHost(address.host)
              << ", which other machines may reach: whoever has the address with its token can change the settings\n";
  server.start();
  std::cout << "serving http://" << urlHost(address.host) << ':' << port << "/?token=" << token << std::endl;
  queue.serve(stopRequested, std::chrono::milliseconds(100));
  queue.close();
  server.stop();
  return 0;
}

}  // namespace settings_host
