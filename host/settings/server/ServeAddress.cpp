#include "ServeAddress.h"

#include <arpa/inet.h>

#include <cctype>
#include <stdexcept>

namespace settings_host {
namespace {

int parsePort(std::string_view text, std::string_view whole) {
  if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string_view::npos)
    throw std::invalid_argument("\"" + std::string(whole) + "\" has no port number (0 to 65535) at its end");
  int port = std::stoi(std::string(text));
  if (port > 65535) throw std::invalid_argument("port " + std::string(text) + " is over 65535");
  return port;
}

bool isIPv6(const std::string& host) {
  unsigned char address[16];
  return inet_pton(AF_INET6, host.c_str(), address) == 1;
}

}  // namespace

std::string lowerASCII(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

ServeAddress parseServeAddress(std::string_view text) {
  ServeAddress address;
  std::string_view port = text;
  if (!text.empty() && text.front() == '[') {
    std::size_t close = text.find(']');
    if (close == std::string_view::npos || close + 1 >= text.size() || text[close + 1] != ':')
      throw std::invalid_argument("\"" + std::string(text) + "\": write an IPv6 address as [ADDR]:PORT");
    address.host = std::string(text.substr(1, close - 1));
    if (!isIPv6(address.host))
      throw std::invalid_argument("\"" + address.host + "\" is not an IPv6 address");
    port = text.substr(close + 2);
  } else if (std::size_t colon = text.rfind(':'); colon != std::string_view::npos) {
    address.host = lowerASCII(text.substr(0, colon));
    if (address.host.empty() || address.host.find(':') != std::string::npos)
      throw std::invalid_argument("\"" + std::string(text) +
                                  "\": give ADDR:PORT, with an IPv6 address in brackets");
    port = text.substr(colon + 1);
  }
  address.port = parsePort(port, text);
  return address;
}

bool isLoopback(const std::string& host) {
  if (lowerASCII(host) == "localhost") return true;
  unsigned char address[16];
  if (inet_pton(AF_INET, host.c_str(), address) == 1) return address[0] == 127;
  if (inet_pton(AF_INET6, host.c_str(), address) == 1) {
    for (int i = 0; i < 15; ++i)
      if (address[i] != 0) return false;
    return address[15] == 1;
  }
  return false;
}

std::string urlHost(const std::string& host) { return isIPv6(host) ? "[" + lowerASCII(host) + "]" : lowerASCII(host); }

}  // namespace settings_host
