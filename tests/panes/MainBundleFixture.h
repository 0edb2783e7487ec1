// A device root holding the settings bundle built from the source resources,
// registered as the bundle of the main bundle's pane classes, with helpers to read
// the preference domain's file and to add event calendars.
#pragma once

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "Foundation/NSBundle.h"
#include "TempRoot.h"
#include "platform/plist/PropertyList.h"
#include "platform/plist/TextPlist.h"

namespace main_bundle {

inline constexpr const char* kBundlePath = "/Library/PreferenceBundles/VelloriaSettings.bundle";
inline constexpr const char* kDomainPath = "/var/mobile/Library/Preferences/com.quietharbor.velloria.plist";
inline constexpr const char* kDomain = "com.quietharbor.velloria";

inline std::string sourceResources() { return std::string(VELLORIA_SOURCE_DIR) + "/resources"; }

inline std::optional<platform::Dictionary> readHostDictionary(const std::string& hostPath) {
  return platform::readDictionaryFile(hostPath);
}

// A string table of the source resources (old-style text), or nothing.
inline std::optional<platform::Dictionary> sourceStringTable(const std::string& lproj, const std::string& table) {
  std::ifstream in(sourceResources() + "/" + lproj + ".lproj/" + table + ".strings", std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::optional<platform::Value> parsed = platform::parseTextPropertyList(bytes);
  if (!parsed || !parsed->isDictionary()) return std::nullopt;
  return *parsed->dictionary();
}

// The value under a key, nil when absent.
inline platform::Value valueOf(const platform::Dictionary& dictionary, std::string_view key) {
  const platform::Value* value = dictionary.find(key);
  return value ? *value : platform::Value();
}

class MainBundleFixture {
 public:
  MainBundleFixture() {
    std::filesystem::copy(sourceResources(), root_.file(kBundlePath),
                          std::filesystem::copy_options::recursive);
    useBundle(kBundlePath);
    // Every device image has the preference store's directory.
    root_.file(kDomainPath);
  }

  const testing_support::TempRoot& root() const { return root_; }

  // Makes the bundle at a device path the bundle of the main bundle's pane classes.
  void useBundle(const std::string& devicePath) {
    std::shared_ptr<NSBundle> bundle = NSBundle::bundleWithPath(devicePath);
    for (const char* cls : {"VLRSettingsController", "VLRPListController", "VLRPInstructionController"})
      NSBundle::registerBundleForClass(cls, bundle);
  }

  // The host path of a file of the installed bundle.
  std::string bundleFile(const std::string& name) const { return root_.file(std::string(kBundlePath) + "/" + name); }

  // The preference domain as its file holds it (empty when there is none).
  platform::Dictionary domain() const {
    return readHostDictionary(root_.file(kDomainPath)).value_or(platform::Dictionary());
  }
  bool domainFileExists() const { return std::filesystem::exists(root_.file(kDomainPath)); }
  // Writes the domain's file directly, as another process would.
  void writeDomain(const platform::Dictionary& domain) const {
    ASSERT_TRUE(platform::writePropertyListFile(root_.file(kDomainPath), platform::Value(domain)));
  }

  // Adds an iCalendar file that the event store lists as one calendar.
  void addCalendar(const std::string& fileName, const std::string& title) const {
    std::ofstream out(root_.file("/var/mobile/Library/Calendars/" + fileName));
    out << "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Velloria tests//EN\r\nX-WR-CALNAME:" << title
        << "\r\nBEGIN:VEVENT\r\nUID:1@test\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20240101T090000Z\r\n"
           "SUMMARY:Meeting\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
  }

 private:
  testing_support::TempRoot root_;
};

}  // namespace main_bundle
