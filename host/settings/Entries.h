// The settings entries: the plists in /Library/PreferenceLoader/Preferences
// that put a bundle's pane into the settings list, and loading their bundles.
//
// An entry plist is a dictionary whose "entry" dictionary describes the entry,
// or (older style) carries those keys at the top level:
//   label     the name shown in the settings list (default: the file's name)
//   bundle    the bundle's name: /Library/PreferenceBundles/<bundle>.bundle
//   bundlePath  a device path of the bundle directory (wins over "bundle")
//   detail    the pane class when the bundle's Info.plist names no
//             NSPrincipalClass
//   cell, isController, icon, ...   kept but not needed here
// Files that are not such dictionaries, or name no bundle, are skipped.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/os/DynamicLoader.h"

class NSBundle;

namespace settings_host {

struct SettingsEntry {
  std::string label;
  std::string bundlePath;  // device path of the bundle directory
  std::string detail;      // fallback pane class ("" for none)
  std::string source;      // device path of the entry plist
};

// The entries found under the device root, in file-name order.
std::vector<SettingsEntry> readEntries();

// A bundle loaded into the process: its NSBundle, its library and the class
// of its main pane.
struct LoadedBundle {
  std::shared_ptr<NSBundle> bundle;
  std::unique_ptr<platform::SharedLibrary> library;
  std::string principalClass;
};

// Loads an entry's bundle: reads Info.plist, dlopens the executable
// (CFBundleExecutable, else the bundle's name without ".bundle"), registers
// the bundle for every class the library registered and names the principal
// class (NSPrincipalClass, else the entry's "detail"). Throws CommandError
// naming the entry and what is missing.
LoadedBundle loadBundle(const SettingsEntry& entry);

}  // namespace settings_host
