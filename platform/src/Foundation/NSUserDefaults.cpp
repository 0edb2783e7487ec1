#include "Foundation/NSUserDefaults.h"

#include "platform/prefs/PreferenceStore.h"

std::shared_ptr<NSUserDefaults> NSUserDefaults::standardUserDefaults() {
  static auto shared = std::make_shared<NSUserDefaults>();
  return shared;
}

std::optional<platform::Dictionary> NSUserDefaults::persistentDomainForName(const std::string& domainName) {
  return platform::PreferenceDomain::named(domainName).persistentDomain();
}

void NSUserDefaults::setPersistentDomain(const platform::Dictionary& domain, const std::string& domainName) {
  platform::PreferenceDomain::named(domainName).setPersistentDomain(domain);
  std::lock_guard<std::mutex> guard(mutex_);
  touched_.insert(domainName);
}

bool NSUserDefaults::synchronize() {
  std::set<std::string> names;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    names = touched_;
  }
  bool ok = true;
  for (const std::string& name : names) ok = platform::PreferenceDomain::named(name).synchronize() && ok;
  return ok;
}
