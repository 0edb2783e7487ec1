// NSBundle: a directory of resources on the device, its Info.plist and its
// string tables.
//
// Localised resources live in "<lang>.lproj" directories. The languages tried,
// in order: the user's preferred language (from LANGUAGE, LC_ALL, LC_MESSAGES
// or LANG: "zh_CN.UTF-8" tries "zh-Hans", "zh_CN", "zh-CN", then "zh"), then the
// development region (Info.plist CFBundleDevelopmentRegion, "en" when absent
// or not a plain name), then "Base". Chinese directories are named by script
// ("zh-Hans", "zh-Hant"). Locale names other than letters, digits, "_" and
// "-" are ignored, so no language setting can lead outside the bundle.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/Value.h"

class NSBundle : public platform::Object {
 public:
  // The bundle at a device path, or null when no directory is there.
  static std::shared_ptr<NSBundle> bundleWithPath(const std::string& devicePath);

  // The bundle of the running program's directory.
  static std::shared_ptr<NSBundle> mainBundle();

  // The bundle that defines a class: the settings host registers a loaded
  // bundle for every class it defines. An unregistered class gets mainBundle().
  static void registerBundleForClass(const std::string& className, std::shared_ptr<NSBundle> bundle);
  static std::shared_ptr<NSBundle> bundleForClass(const std::string& className);

  // The device path the bundle was made with.
  const std::string& bundlePath() const { return devicePath_; }

  // The device path of resource "name.type" (type empty: name as it is) in the
  // bundle directory, else in the localisation directories in language order;
  // nothing when there is no such file.
  std::optional<std::string> pathForResource(const std::string& name, const std::string& type) const;

  // Info.plist's dictionary; empty when it is missing or unreadable.
  const platform::Dictionary& infoDictionary() const { return info_; }
  // A key of Info.plist, or null.
  const platform::Value* objectForInfoDictionaryKey(const std::string& key) const { return info_.find(key); }

  // The text of key in string table `table` (nothing or "": "Localizable"),
  // from the first language's "<lang>.lproj/<table>.strings" that has the key.
  // A key found nowhere gives `value`, unless value is nothing or empty: then
  // the key itself. Tables may be old-style text, XML or binary property lists;
  // each is read once and kept.
  std::string localizedStringForKey(const std::string& key, const std::optional<std::string>& value,
                                    const std::optional<std::string>& table = std::nullopt) const;

  // The localisation directory names tried, in order (without ".lproj").
  std::vector<std::string> localizationSearchOrder() const;

 private:
  NSBundle(std::string devicePath, std::string hostPath);

  using Table = std::optional<platform::Dictionary>;
  const Table& table(const std::string& lproj, const std::string& name) const;

  std::string devicePath_;
  std::string hostPath_;
  platform::Dictionary info_;
  mutable std::mutex tablesMutex_;
  mutable std::map<std::string, Table> tables_;
};
