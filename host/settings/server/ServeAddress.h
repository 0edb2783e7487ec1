// Where the served settings host listens: the `--serve [ADDR:]PORT` flag.
#pragma once

#include <string>
#include <string_view>

namespace settings_host {

struct ServeAddress {
  std::string host = "127.0.0.1";  // a name, an IPv4 address or an IPv6 address (no brackets)
  int port = 0;                    // 0: any free port
};

// Parses "[ADDR:]PORT": ADDR a host name, an IPv4 address or an IPv6 address
// in brackets ("[::1]:8080"), 127.0.0.1 when left out; PORT 0 to 65535.
// Throws std::invalid_argument with a message saying what is wrong.
ServeAddress parseServeAddress(std::string_view text);

// Host names and URL schemes compare without regard to ASCII letter case:
// the text with A-Z lowered.
std::string lowerASCII(std::string_view text);

// Whether the address reaches only this machine: "localhost", 127.0.0.0/8
// or ::1.
bool isLoopback(const std::string& host);

// The host as a URL and a Host header write it: IPv6 addresses in brackets,
// names in lower case.
std::string urlHost(const std::string& host);

}  // namespace settings_host
