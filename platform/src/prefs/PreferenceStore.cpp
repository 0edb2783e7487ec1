#include "platform/prefs/PreferenceStore.h"

#include <map>

#include "platform/os/DeviceRoot.h"
#include "platform/plist/PropertyList.h"

namespace platform {

namespace {

constexpr const char* kPreferencesDirectory = "/var/mobile/Library/Preferences/";

bool safeDomainName(const std::string& d) {
  return !d.empty() && d != "." && d != ".." && d.find('/') == std::string::npos && d.find('\0') == std::string::npos;
}

}  // namespace

PreferenceDomain& PreferenceDomain::named(const std::string& domain) {
  static std::mutex registryLock;
  // Stores live for the process; keyed by device root too, so tests that
  // switch roots get fresh stores.
  static auto* registry = new std::map<std::pair<std::string, std::string>, std::unique_ptr<PreferenceDomain>>();
  std::lock_guard<std::mutex> guard(registryLock);
  auto& slot = (*registry)[{deviceRoot(), domain}];
  if (!slot) slot.reset(new PreferenceDomain(domain));
  return *slot;
}

std::vector<std::string> PreferenceDomain::namesWithFiles() {
  constexpr std::string_view kSuffix = ".plist";
  std::vector<std::string> names;
  for (std::string& file : listDirectory(resolveDevicePath(kPreferencesDirectory))) {
    if (!file.ends_with(kSuffix)) continue;
    file.resize(file.size() - kSuffix.size());
    if (safeDomainName(file)) names.push_back(std::move(file));
  }
  return names;
}

PreferenceDomain::PreferenceDomain(std::string domain) : domain_(std::move(domain)), root_(deviceRoot()) {
  if (safeDomainName(domain_)) path_ = resolveDevicePath(kPreferencesDirectory + domain_ + ".plist");
}

void PreferenceDomain::refreshLocked(bool force) {
  if (path_.empty()) return;
  std::optional<FileStamp> now = statFile(path_);
  if (!force && fileSeen_ && now == stamp_) return;
  fileSeen_ = true;
  stamp_ = now;
  if (!now) {
    stored_ = Dictionary();
    return;
  }
  // A file that is not a dictionary reads as an empty domain; the next write
  // replaces it.
  stored_ = readDictionaryFile(path_).value_or(Dictionary());
}

Value PreferenceDomain::viewLocked(const std::string& key) const {
  if (const Value* p = pending_.find(key)) return *p;
  const Value* v = stored_.find(key);
  return v ? *v : Value();
}

Value PreferenceDomain::copyValue(const std::string& key) {
  std::lock_guard<std::mutex> guard(mutex_);
  if (!fileSeen_) refreshLocked(false);
  return viewLocked(key);
}

bool PreferenceDomain::storable(const Value& value) { return value.isNil() || isPropertyListValue(value); }

void PreferenceDomain::setValue(const std::string& key, Value value) {
  // A value no property list can hold (a live object, text that is not
  // UTF-8) is refused here, so it can never block later writes of the
  // domain.
  if (!storable(value)) return;
  std::lock_guard<std::mutex> guard(mutex_);
  pending_.set(key, std::move(value));
}

std::optional<Dictionary> PreferenceDomain::persistentDomain() {
  std::lock_guard<std::mutex> guard(mutex_);
  refreshLocked(false);
  Dictionary view = stored_;
  for (const auto& [k, v] : pending_) {
    if (v.isNil())
      view.remove(k);
    else
      view.set(k, v);
  }
  if (view.empty() && !stamp_) return std::nullopt;
  return view;
}

void PreferenceDomain::setPersistentDomain(const Dictionary& dictionary) {
  std::lock_guard<std::mutex> guard(mutex_);
  // The caller's dictionary was made from the view this process last read,
  // so it is compared with that view, not with a newer file: keys another
  // process wrote since then are not the caller's to remove.
  if (!fileSeen_) refreshLocked(false);
  // Keys that are gone are removed; keys that differ are set. Keys left as
  // they are stay untouched, so other processes' changes to them survive.
  for (const auto& [k, v] : stored_)
    if (!dictionary.contains(k) && !viewLocked(k).isNil()) pending_.set(k, Value());
  for (const auto& [k, v] : pending_)
    if (!v.isNil() && !dictionary.contains(k)) pending_.set(k, Value());
  for (const auto& [k, v] : dictionary) {
    Value current = viewLocked(k);
    if ((!(current == v) || current.type() != v.type()) && storable(v)) pending_.set(k, v);
  }
}

bool PreferenceDomain::synchronize() {
  std::lock_guard<std::mutex> guard(mutex_);
  if (pending_.empty()) {
    refreshLocked(false);
    return true;
  }
  if (path_.empty()) return false;
  FileLock lock(path_ + ".lock");
  if (lock.held()) removeStaleTemporaries(path_);
  // Under the lock the file is always read again: a stamp can repeat when a
  // rewrite reuses an inode within one clock tick.
  refreshLocked(true);
  Dictionary next = stored_;
  for (const auto& [k, v] : pending_) {
    if (v.isNil())
      next.remove(k);
    else
      next.set(k, v);
  }
  if (!writePropertyListFile(path_, next)) return false;
  stored_ = std::move(next);
  pending_ = Dictionary();
  stamp_ = statFile(path_);
  return true;
}

}  // namespace platform
