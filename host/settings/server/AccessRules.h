// Who may use the served settings host. The page and its API answer only to
// requests addressed to this server by a name a browser on this machine uses
// (no DNS rebinding); the API answers only to the token printed at start; a
// page of another origin may not post commands.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace settings_host {

class AccessRules {
 public:
  // `host` the address bound (as in ServeAddress), `port` the port bound.
  AccessRules(std::string token, const std::string& host, int port);

  // Whether an Authorization header is "Bearer TOKEN" with this server's
  // token. The token is compared in constant time.
  bool authorized(std::string_view authorization) const;

  // Whether a Host header names this server: the address bound, "localhost"
  // or "127.0.0.1", with the port (which only port 80 may leave out).
  bool hostAllowed(std::string_view host) const;

  // Whether an Origin header names a page of this server: "http://" and a
  // host that hostAllowed accepts.
  bool originAllowed(std::string_view origin) const;

 private:
  std::string token_;
  std::vector<std::string> hosts_;  // lower case, with the port
};

}  // namespace settings_host
