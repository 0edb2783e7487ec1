// What a command did to the device that the panes do not show: the files it
// wrote or removed and the URLs it opened, told as one short line each
//
//   wrote Preferences/com.quietharbor.velloria.plist: todayColor = FFA500
//   wrote velcfg.plist: extra-colors + Sunset
//   opened cydia://package/com.quietharbor.velloria
//
// Found by comparing the device's files before and after the command, not by
// asking the panes. The files watched are the property lists of the
// preference directory (/var/mobile/Library/Preferences, shown relative to
// /var/mobile/Library) and of each widget bundle in
// /System/Library/WeeAppPlugins (shown relative to their bundle). A file
// whose stamp has not changed costs one stat; only changed files are read.
//
// A changed key reads "KEY = VALUE"; an entry added to or removed from a
// dictionary or a list of plain values (a new key holding one counts as
// added entries) "KEY + ENTRY" or "KEY - ENTRY", a changed entry
// "KEY[ENTRY] = VALUE"; a removed key "KEY removed". A file that cannot be
// read as a property list is only named.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/Value.h"
#include "platform/os/FileSystem.h"

namespace settings_host {

class ChangeReport {
 public:
  // Notes the watched files and the URLs opened so far, as they are before
  // a command.
  void before();
  // The lines for what changed since before(), in the session's language.
  std::vector<std::string> after();

 private:
  struct WatchedFile {
    std::string shown;  // the path as the lines show it
    platform::FileStamp stamp;
    std::optional<platform::Value> content;  // nothing when unreadable
  };
  // The watched files present now, by host path, with their stamps.
  std::map<std::string, std::pair<std::string, platform::FileStamp>> scan() const;
  static std::optional<platform::Value> read(const std::string& hostPath);

  std::map<std::string, WatchedFile> files_;
  std::size_t urls_ = 0;
};

// The differences between two versions of a property list's root, as the
// change lines list them (empty when they are equal).
std::vector<std::string> describeChanges(const platform::Value& before, const platform::Value& after);

}  // namespace settings_host
