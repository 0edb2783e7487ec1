#include "Entries.h"

#include <algorithm>

#include "CommandText.h"
#include "Foundation/NSBundle.h"
#include "platform/os/DeviceRoot.h"
#include "platform/os/FileSystem.h"
#include "platform/core/ObjC.h"
#include "platform/plist/PropertyList.h"

namespace settings_host {
namespace {

constexpr const char* kEntriesDir = "/Library/PreferenceLoader/Preferences";
constexpr const char* kBundlesDir = "/Library/PreferenceBundles";

std::string stringFor(const platform::Dictionary& dict, std::string_view key) {
  const platform::Value* v = dict.find(key);
  return v && v->isString() ? *v->string() : std::string();
}

bool endsWith(const std::string& s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

std::vector<SettingsEntry> readEntries() {
  std::vector<SettingsEntry> entries;
  for (const std::string& name : platform::listDirectory(platform::resolveDevicePath(kEntriesDir))) {
    if (!endsWith(name, ".plist")) continue;
    std::string devicePath = std::string(kEntriesDir) + "/" + name;
    auto root = platform::readDictionaryFile(platform::resolveDevicePath(devicePath));
    if (!root) continue;
    const platform::Value* nested = root->find("entry");
    const platform::Dictionary& dict = nested && nested->isDictionary() ? *nested->dictionary() : *root;
    SettingsEntry entry;
    entry.source = devicePath;
    entry.label = stringFor(dict, "label");
    if (entry.label.empty()) entry.label = name.substr(0, name.size() - 6);
    entry.detail = stringFor(dict, "detail");
    entry.bundlePath = stringFor(dict, "bundlePath");
    if (entry.bundlePath.empty()) {
      std::string bundle = stringFor(dict, "bundle");
      if (bundle.empty()) continue;
      entry.bundlePath = std::string(kBundlesDir) + "/" + bundle + ".bundle";
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

LoadedBundle loadBundle(const SettingsEntry& entry) {
  LoadedBundle loaded;
  loaded.bundle = NSBundle::bundleWithPath(entry.bundlePath);
  if (!loaded.bundle)
    throw CommandError("entry \"" + entry.label + "\" (" + entry.source + "): no bundle at " + entry.bundlePath);
  const platform::Value* exec = loaded.bundle->objectForInfoDictionaryKey("CFBundleExecutable");
  std::string executable = exec && exec->isString() ? *exec->string() : std::string();
  if (executable.empty()) {
    std::string dir = entry.bundlePath.substr(entry.bundlePath.rfind('/') + 1);
    executable = endsWith(dir, ".bundle") ? dir.substr(0, dir.size() - 7) : dir;
  }
  std::string libraryPath = platform::resolveDevicePath(entry.bundlePath + "/" + executable);

  auto before = platform::ClassRegistry::classNames();
  std::string error;
  loaded.library = platform::SharedLibrary::open(libraryPath, &error);
  if (!loaded.library)
    throw CommandError("entry \"" + entry.label + "\": cannot load " + entry.bundlePath + "/" + executable + ": " +
                       error);
  for (const std::string& name : platform::ClassRegistry::classNames()) {
    if (std::find(before.begin(), before.end(), name) == before.end())
      NSBundle::registerBundleForClass(name, loaded.bundle);
  }

  const platform::Value* principal = loaded.bundle->objectForInfoDictionaryKey("NSPrincipalClass");
  loaded.principalClass = principal && principal->isString() ? *principal->string() : entry.detail;
  if (loaded.principalClass.empty())
    throw CommandError("entry \"" + entry.label + "\": the bundle's Info.plist names no NSPrincipalClass");
  return loaded;
}

}  // namespace settings_host
