#include "AccessRules.h"

#include <algorithm>
#include <cctype>

#include "ServeAddress.h"

namespace settings_host {
namespace {

// Equal texts, in a time that depends on their lengths only.
bool sameSecret(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  unsigned char differ = 0;
  for (std::size_t i = 0; i < a.size(); ++i) differ |= static_cast<unsigned char>(a[i] ^ b[i]);
  return differ == 0;
}

}  // namespace

AccessRules::AccessRules(std::string token, const std::string& host, int port) : token_(std::move(token)) {
  std::string suffix = ":" + std::to_string(port);
  for (const std::string& name : {urlHost(host), std::string("localhost"), std::string("127.0.0.1")}) {
    hosts_.push_back(name + suffix);
    if (port == 80) hosts_.push_back(name);
  }
}

bool AccessRules::authorized(std::string_view authorization) const {
  constexpr std::string_view kScheme = "bearer ";
  if (authorization.size() < kScheme.size() || lowerASCII(authorization.substr(0, kScheme.size())) != kScheme)
    return false;
  return sameSecret(authorization.substr(kScheme.size()), token_);
}

bool AccessRules::hostAllowed(std::string_view host) const {
  return std::find(hosts_.begin(), hosts_.end(), lowerASCII(host)) != hosts_.end();
}

bool AccessRules::originAllowed(std::string_view origin) const {
  constexpr std::string_view kScheme = "http://";
  return origin.size() > kScheme.size() && lowerASCII(origin.substr(0, kScheme.size())) == kScheme &&
         hostAllowed(origin.substr(kScheme.size()));
}

}  // namespace settings_host
