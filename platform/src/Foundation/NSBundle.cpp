#include "Foundation/NSBundle.h"

#include <unicode/uloc.h>

#include <algorithm>

#include "platform/os/DeviceRoot.h"
#include "platform/os/Environment.h"
#include "platform/os/FileSystem.h"
#include "platform/plist/PropertyList.h"

namespace {

constexpr std::uint64_t kMaxTableBytes = 16ull << 20;

std::string joinPath(const std::string& directory, const std::string& name) {
  if (!directory.empty() && directory.back() == '/') return directory + name;
  return directory + "/" + name;
}

// Whether a locale name is made only of letters, digits, "_" and "-": it
// becomes part of a directory name, so nothing else may reach a path.
bool isPlainLocaleName(const std::string& locale) {
  return std::all_of(locale.begin(), locale.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
  });
}

// The locale names the user prefers, most preferred first: LANGUAGE's list,
// then the first of LC_ALL, LC_MESSAGES, LANG that is set. "C" and "POSIX"
// name no language; names with other characters are ignored.
std::vector<std::string> preferredLocales() {
  std::vector<std::string> locales;
  auto add = [&](std::string locale) {
    locale = locale.substr(0, locale.find_first_of(".@"));
    if (!locale.empty() && locale != "C" && locale != "POSIX" && isPlainLocaleName(locale)) locales.push_back(locale);
  };
  if (auto language = platform::environment("LANGUAGE")) {
    std::size_t start = 0;
    for (std::size_t colon; (colon = language->find(':', start)) != std::string::npos; start = colon + 1)
      add(language->substr(start, colon - start));
    add(language->substr(start));
  }
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    auto value = platform::environment(variable);
    if (value && !value->empty()) {
      add(*value);
      break;
    }
  }
  return locales;
}

// Localisation directory names for one locale name ("zh_CN" → "zh-Hans",
// "zh_CN", "zh-CN", "zh").
std::vector<std::string> localizationNames(const std::string& locale) {
  char likely[ULOC_FULLNAME_CAPACITY] = {};
  char language[ULOC_LANG_CAPACITY] = {}, script[ULOC_SCRIPT_CAPACITY] = {}, region[ULOC_COUNTRY_CAPACITY] = {};
  UErrorCode status = U_ZERO_ERROR;
  uloc_addLikelySubtags(locale.c_str(), likely, sizeof likely - 1, &status);
  if (U_FAILURE(status)) return {locale};
  uloc_getLanguage(locale.c_str(), language, sizeof language - 1, &status);
  uloc_getCountry(locale.c_str(), region, sizeof region - 1, &status);
  uloc_getScript(likely, script, sizeof script - 1, &status);
  if (U_FAILURE(status) || language[0] == '\0') return {locale};
  std::string lang = language;
  std::vector<std::string> names;
  if (lang == "zh" && script[0] != '\0') names.push_back(lang + "-" + script);
  if (region[0] != '\0') {
    names.push_back(lang + "_" + region);
    names.push_back(lang + "-" + region);
  }
  names.push_back(lang);
  return names;
}

// A string table read from a file: its root dictionary, in whichever of the
// three formats (old-style text, XML, binary) it is written.
std::optional<platform::Dictionary> readStringTable(const std::string& hostPath) {
  platform::PropertyListLimits limits;
  limits.maxBytes = kMaxTableBytes;
  auto value = platform::readPropertyListFile(hostPath, limits);
  if (!value || !value->isDictionary()) return std::nullopt;
  return std::move(*value->dictionary());
}

struct ClassRegistry {
  std::mutex mutex;
  std::map<std::string, std::shared_ptr<NSBundle>> bundles;
};

ClassRegistry& classRegistry() {
  static ClassRegistry registry;
  return registry;
}

}  // namespace

NSBundle::NSBundle(std::string devicePath, std::string hostPath)
    : devicePath_(std::move(devicePath)), hostPath_(std::move(hostPath)) {
  auto info = platform::readDictionaryFile(joinPath(hostPath_, "Info.plist"));
  if (info) info_ = std::move(*info);
}

std::shared_ptr<NSBundle> NSBundle::bundleWithPath(const std::string& devicePath) {
  if (devicePath.empty()) return nullptr;
  std::string host = platform::resolveDevicePath(devicePath);
  if (!platform::isDirectory(host)) return nullptr;
  return std::shared_ptr<NSBundle>(new NSBundle(devicePath, host));
}

std::shared_ptr<NSBundle> NSBundle::mainBundle() {
  static const std::shared_ptr<NSBundle> main = [] {
    std::string host = platform::executableDirectory();
    std::string root = platform::deviceRoot();
    std::string device = host;
    if (!root.empty() && host.compare(0, root.size(), root) == 0 &&
        (host.size() == root.size() || host[root.size()] == '/'))
      device = host.size() == root.size() ? "/" : host.substr(root.size());
    return std::shared_ptr<NSBundle>(new NSBundle(device, host));
  }();
  return main;
}

void NSBundle::registerBundleForClass(const std::string& className, std::shared_ptr<NSBundle> bundle) {
  auto& registry = classRegistry();
  std::lock_guard lock(registry.mutex);
  if (bundle) {
    registry.bundles[className] = std::move(bundle);
  } else {
    registry.bundles.erase(className);
  }
}

std::shared_ptr<NSBundle> NSBundle::bundleForClass(const std::string& className) {
  {
    auto& registry = classRegistry();
    std::lock_guard lock(registry.mutex);
    auto found = registry.bundles.find(className);
    if (found != registry.bundles.end()) return found->second;
  }
  return mainBundle();
}

std::vector<std::string> NSBundle::localizationSearchOrder() const {
  std::vector<std::string> order;
  auto add = [&](const std::string& name) {
    if (std::find(order.begin(), order.end(), name) == order.end()) order.push_back(name);
  };
  for (const auto& locale : preferredLocales())
    for (const auto& name : localizationNames(locale)) add(name);
  const platform::Value* region = objectForInfoDictionaryKey("CFBundleDevelopmentRegion");
  bool usable = region && region->string() && !region->string()->empty() && isPlainLocaleName(*region->string());
  add(usable ? *region->string() : "en");
  add("Base");
  return order;
}

std::optional<std::string> NSBundle::pathForResource(const std::string& name, const std::string& type) const {
  if (name.empty()) return std::nullopt;
  std::string file = name;
  if (!type.empty()) file += type.front() == '.' ? type : "." + type;
  std::vector<std::string> directories{""};
  for (const auto& lproj : localizationSearchOrder()) directories.push_back(lproj + ".lproj/");
  for (const auto& directory : directories) {
    std::string relative = directory + file;
    if (platform::statFile(joinPath(hostPath_, relative))) return joinPath(devicePath_, relative);
  }
  return std::nullopt;
}

const NSBundle::Table& NSBundle::table(const std::string& lproj, const std::string& name) const {
  std::string relative = lproj + ".lproj/" + name + ".strings";
  std::lock_guard lock(tablesMutex_);
  auto found = tables_.find(relative);
  if (found == tables_.end()) found = tables_.emplace(relative, readStringTable(joinPath(hostPath_, relative))).first;
  return found->second;
}

std::string NSBundle::localizedStringForKey(const std::string& key, const std::optional<std::string>& value,
                                            const std::optional<std::string>& tableName) const {
  std::string name = tableName && !tableName->empty() ? *tableName : "Localizable";
  for (const auto& lproj : localizationSearchOrder()) {
    const Table& strings = table(lproj, name);
    if (!strings) continue;
    const platform::Value* text = strings->find(key);
    if (text && text->string()) return *text->string();
  }
  return value && !value->empty() ? *value : key;
}
