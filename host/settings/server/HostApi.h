// The answers of the served host's API, made from the settings host. Only
// the thread that owns the host calls the HostApi's methods.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace settings_host {

class SettingsHost;

class HostApi {
 public:
  // `language`: the host's language, "en" or "zh-Hans", for the page's own
  // words.
  HostApi(SettingsHost& host, std::string language);

  // The current pane: the `dump` object with "stack" (the titles from the
  // settings list to the current pane) and "lang".
  std::string state();

  // Runs one command line exactly as a script line runs:
  // {"ok": B, "error": null or the message a script would get, "state": …}.
  std::string command(const std::string& line);

  // What `preview --json DATE` prints, without its line break; `date` is
  // "YYYY-MM", "YYYY-MM-DD" or empty for the current month. Throws
  // CommandError for a bad date.
  std::string preview(const std::string& date);

 private:
  SettingsHost& host_;
  std::string language_;
};

// A request the API cannot take; its message says why.
class BadRequest : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The command line of a POST /api/command body, {"command": "LINE"}: a JSON
// object whose "command" is a string without line breaks. Throws BadRequest.
std::string commandOfBody(std::string_view body);

// {"error": MESSAGE}
std::string errorJSON(std::string_view message);

}  // namespace settings_host
