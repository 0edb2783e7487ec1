// The preference store: one per domain, the property list
// /var/mobile/Library/Preferences/<domain>.plist under the device root (XML,
// or binary while it holds text XML cannot carry). Both
// the preferences service and the user-defaults persistent domains work
// through it.
//
// A process keeps one in-memory copy of each domain and the keys it changed
// but has not written yet. synchronize() takes an exclusive lock on
// "<domain>.plist.lock" beside the file, removes the file's stale
// temporaries, re-reads the file, applies this process's pending changes key
// by key, writes atomically and unlocks, so no process loses keys that
// another wrote. Without pending changes it only re-reads the file when its
// stamp changed: an unchanged file costs one stat.
// All members are thread-safe.
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/os/FileSystem.h"
#include "platform/core/Value.h"

namespace platform {

class PreferenceDomain {
 public:
  // The process's store of a domain, created on first use. Domain names that
  // could leave the preferences directory ("", "..", names with "/") get a
  // store that never reads or writes a file.
  static PreferenceDomain& named(const std::string& domain);
  // The names of the domains that have a file in the preferences directory
  // of the device root, sorted.
  static std::vector<std::string> namesWithFiles();

  // The value under the key as this process sees it (pending changes
  // included), or nil.
  Value copyValue(const std::string& key);
  // Records a change; a nil value removes the key. A value that no property
  // list can hold (see isPropertyListValue) is ignored.
  void setValue(const std::string& key, Value value);
  // Every key as this process sees it, after taking in a changed file;
  // nothing when the domain has no keys and no file.
  std::optional<Dictionary> persistentDomain();
  // Makes the domain equal to the dictionary: records the keys that differ
  // from the current view as pending changes.
  void setPersistentDomain(const Dictionary& dictionary);
  // False only when pending changes could not be written; they then stay
  // pending for the next attempt.
  bool synchronize();

  // The host path of the domain's file.
  const std::string& path() const { return path_; }

 private:
  explicit PreferenceDomain(std::string domain);
  static bool storable(const Value& value);
  void refreshLocked(bool force);
  Value viewLocked(const std::string& key) const;

  std::mutex mutex_;
  std::string domain_;
  std::string path_;  // empty for a domain that has no file
  std::string root_;  // the device root the path was resolved under
  Dictionary stored_;  // the file's content as last read or written
  std::optional<FileStamp> stamp_;
  bool fileSeen_ = false;
  Dictionary pending_;  // key -> new value; nil removes
};

}  // namespace platform
