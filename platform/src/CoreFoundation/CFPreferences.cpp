// The preferences service over the preference store.
#include "CoreFoundation/CFBridge.h"
#include "platform/prefs/PreferenceStore.h"

namespace {

// Only the current user's, any-host domain is kept.
platform::PreferenceDomain* domainFor(CFStringRef applicationID, CFStringRef userName, CFStringRef hostName) {
  auto app = platform::stringOfCF(applicationID);
  if (!app || !CFEqual(userName, kCFPreferencesCurrentUser) || !CFEqual(hostName, kCFPreferencesAnyHost))
    return nullptr;
  return &platform::PreferenceDomain::named(*app);
}

}  // namespace

extern "C" {

const CFStringRef kCFPreferencesCurrentUser = CFSTR("kCFPreferencesCurrentUser");
const CFStringRef kCFPreferencesAnyUser = CFSTR("kCFPreferencesAnyUser");
const CFStringRef kCFPreferencesCurrentHost = CFSTR("kCFPreferencesCurrentHost");
const CFStringRef kCFPreferencesAnyHost = CFSTR("kCFPreferencesAnyHost");

CFPropertyListRef CFPreferencesCopyValue(CFStringRef key, CFStringRef applicationID, CFStringRef userName,
                                         CFStringRef hostName) {
  auto k = platform::stringOfCF(key);
  platform::PreferenceDomain* domain = domainFor(applicationID, userName, hostName);
  if (!k || !domain) return nullptr;
  return platform::createCFObject(domain->copyValue(*k));
}

void CFPreferencesSetValue(CFStringRef key, CFPropertyListRef value, CFStringRef applicationID,
                           CFStringRef userName, CFStringRef hostName) {
  auto k = platform::stringOfCF(key);
  platform::PreferenceDomain* domain = domainFor(applicationID, userName, hostName);
  if (!k || !domain) return;
  platform::Value v = platform::valueOfCFObject(value);
  // A non-null object that is no property list is ignored rather than taken
  // as a removal.
  if (value && v.isNil()) return;
  domain->setValue(*k, std::move(v));
}

Boolean CFPreferencesSynchronize(CFStringRef applicationID, CFStringRef userName, CFStringRef hostName) {
  platform::PreferenceDomain* domain = domainFor(applicationID, userName, hostName);
  return domain && domain->synchronize();
}

}  // extern "C"
