#include "ChangeReport.h"

#include <algorithm>
#include <cstdio>

#include "HostWords.h"
#include "UIKit/UIApplication.h"
#include "platform/os/DeviceRoot.h"
#include "platform/plist/PropertyList.h"

namespace settings_host {
namespace {

// Shown relative to /var/mobile/Library.
constexpr const char* kPreferences = "/var/mobile/Library/Preferences";
constexpr const char* kWidgets = "/System/Library/WeeAppPlugins";
constexpr std::uint64_t kMaxReadBytes = 16ull << 20;

bool isWatchedName(const std::string& name) {
  return name.size() > 6 && name[0] != '.' && name.compare(name.size() - 6, 6, ".plist") == 0;
}

// A value as a change line shows it: text as it is, numbers in decimal,
// collections by their size.
std::string shownValue(const platform::Value& value) {
  if (value.isString()) return *value.string();
  if (value.isBoolean()) return *value.boolean() ? "true" : "false";
  if (value.isInteger()) return std::to_string(value.int64Value());
  char buf[40];
  if (value.isReal()) {
    std::snprintf(buf, sizeof buf, "%.17g", value.doubleValue());
    return buf;
  }
  auto count = [](std::size_t n) { return n ? std::to_string(n) + " " + word(n == 1 ? "entry" : "entries") : ""; };
  if (value.isDictionary()) return "{" + count(value.dictionary()->size()) + "}";
  if (value.isArray()) return "(" + count(value.array()->size()) + ")";
  if (value.isData()) return "<" + std::to_string(value.data()->size()) + " bytes>";
  if (value.isDate()) return "date";
  return "nil";
}

bool isScalar(const platform::Value& value) { return !value.isArray() && !value.isDictionary(); }

// What changed inside one key whose value was and is a dictionary.
void dictionaryChanges(const std::string& key, const platform::Dictionary& before, const platform::Dictionary& after,
                       std::vector<std::string>& lines) {
  for (const auto& [entry, value] : after) {
    const platform::Value* old = before.find(entry);
    if (!old) lines.push_back(key + " + " + entry);
    else if (!(*old == value)) lines.push_back(key + "[" + entry + "] = " + shownValue(value));
  }
  for (const auto& [entry, value] : before)
    if (!after.find(entry)) lines.push_back(key + " - " + entry);
}

// What changed inside one key whose value was and is a list of scalars:
// the items added and removed, counted as a multiset; a reordering alone
// shows the list's new size.
void arrayChanges(const std::string& key, const platform::Array& before, const platform::Array& after,
                  std::vector<std::string>& lines) {
  std::vector<bool> matched(before.size(), false);
  std::vector<std::string> added;
  for (const platform::Value& item : after) {
    bool found = false;
    for (std::size_t i = 0; i < before.size() && !found; ++i)
      if (!matched[i] && before[i] == item) matched[i] = found = true;
    if (!found) added.push_back(key + " + " + shownValue(item));
  }
  std::size_t count = lines.size();
  lines.insert(lines.end(), added.begin(), added.end());
  for (std::size_t i = 0; i < before.size(); ++i)
    if (!matched[i]) lines.push_back(key + " - " + shownValue(before[i]));
  if (lines.size() == count) lines.push_back(key + " = " + shownValue(platform::Value(after)));
}

}  // namespace

std::vector<std::string> describeChanges(const platform::Value& before, const platform::Value& after) {
  std::vector<std::string> lines;
  const platform::Dictionary* old = before.dictionary();
  const platform::Dictionary* now = after.dictionary();
  if (!old || !now) {
    if (!(before == after)) lines.push_back(shownValue(after));
    return lines;
  }
  for (const auto& [key, value] : *now) {
    const platform::Value* was = old->find(key);
    if (was && *was == value) continue;
    if (was && was->isDictionary() && value.isDictionary()) {
      dictionaryChanges(key, *was->dictionary(), *value.dictionary(), lines);
    } else if (was && was->isArray() && value.isArray() &&
               std::all_of(value.array()->begin(), value.array()->end(), isScalar) &&
               std::all_of(was->array()->begin(), was->array()->end(), isScalar)) {
      arrayChanges(key, *was->array(), *value.array(), lines);
    } else if (!was && value.isDictionary() && !value.dictionary()->empty()) {
      dictionaryChanges(key, platform::Dictionary(), *value.dictionary(), lines);
    } else if (!was && value.isArray() && !value.array()->empty() &&
               std::all_of(value.array()->begin(), value.array()->end(), isScalar)) {
      arrayChanges(key, platform::Array(), *value.array(), lines);
    } else {
      lines.push_back(key + " = " + shownValue(value));
    }
  }
  for (const auto& [key, value] : *old)
    if (!now->find(key)) lines.push_back(key + " " + word("removed"));
  return lines;
}

std::map<std::string, std::pair<std::string, platform::FileStamp>> ChangeReport::scan() const {
  std::map<std::string, std::pair<std::string, platform::FileStamp>> found;
  auto watch = [&](const std::string& devicePath, const std::string& shownPrefix) {
    std::string directory = platform::resolveDevicePath(devicePath);
    for (const std::string& name : platform::listDirectory(directory)) {
      if (!isWatchedName(name)) continue;
      std::string path = directory + "/" + name;
      if (auto stamp = platform::statFile(path)) found.emplace(path, std::pair{shownPrefix + name, *stamp});
    }
  };
  watch(kPreferences, "Preferences/");
  for (const std::string& bundle : platform::listDirectory(platform::resolveDevicePath(kWidgets)))
    if (bundle.size() > 7 && bundle.compare(bundle.size() - 7, 7, ".bundle") == 0)
      watch(std::string(kWidgets) + "/" + bundle, "");
  return found;
}

std::optional<platform::Value> ChangeReport::read(const std::string& hostPath) {
  platform::PropertyListLimits limits;
  limits.maxBytes = kMaxReadBytes;
  return platform::readPropertyListFile(hostPath, limits);
}

void ChangeReport::before() {
  auto present = scan();
  for (auto it = files_.begin(); it != files_.end();)
    it = present.count(it->first) ? std::next(it) : files_.erase(it);
  for (const auto& [path, found] : present) {
    auto known = files_.find(path);
    if (known != files_.end() && known->second.stamp == found.second) continue;
    files_[path] = WatchedFile{found.first, found.second, read(path)};
  }
  urls_ = UIApplication::sharedApplication()->openedURLs().size();
}

std::vector<std::string> ChangeReport::after() {
  std::vector<std::string> lines;
  auto present = scan();
  for (auto it = files_.begin(); it != files_.end();) {
    if (present.count(it->first)) {
      ++it;
      continue;
    }
    lines.push_back(word("removed") + " " + it->second.shown);
    it = files_.erase(it);
  }
  for (const auto& [path, found] : present) {
    auto known = files_.find(path);
    if (known != files_.end() && known->second.stamp == found.second) continue;
    std::optional<platform::Value> content = read(path);
    std::string line = word("wrote") + " " + found.first;
    if (content) {
      platform::Value old = known != files_.end() && known->second.content ? *known->second.content
                                                                            : platform::Value(platform::Dictionary());
      std::vector<std::string> changes = describeChanges(old, *content);
      std::string joined;
      for (const std::string& change : changes) joined += (joined.empty() ? "" : ", ") + change;
      line += ": " + (joined.empty() ? word("no change") : joined);
    }
    lines.push_back(line);
    files_[path] = WatchedFile{found.first, found.second, std::move(content)};
  }
  const auto& urls = UIApplication::sharedApplication()->openedURLs();
  for (std::size_t i = urls_; i < urls.size(); ++i) lines.push_back(word("opened") + " " + urls[i]);
  urls_ = urls.size();
  return lines;
}

}  // namespace settings_host
