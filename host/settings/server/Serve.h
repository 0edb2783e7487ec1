// `settings-host --serve`: the settings host as a page in a browser.
#pragma once

#include <functional>
#include <string>

#include "ServeAddress.h"

namespace settings_host {

class SettingsHost;

// Serves the host's page (from the installed image's share/settings-host/web)
// and its API (WebServer.h) on `address`. The first line on standard output
// is "serving http://ADDR:PORT/?token=TOKEN", TOKEN 128 random bits fresh
// for this start. Commands run on the calling thread, which must own the
// host, until `stopRequested` returns true (it is asked at least every
// 100 ms). `language` is the host's ("en" or "zh-Hans"). A non-loopback
// address is served with a warning on standard error.
//
// Returns the exit status: 0 after serving, 1 when there is no page to serve
// or the address cannot be bound (with a message on standard error).
int serve(SettingsHost& host, const ServeAddress& address, const std::string& language,
          const std::function<bool()>& stopRequested);

}  // namespace settings_host
