#ifndef CF_PREFERENCES_H
#define CF_PREFERENCES_H

#include "CoreFoundation/CFBase.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The preferences service. Each application ID is a domain stored as
 * /var/mobile/Library/Preferences/<application ID>.plist (under the device
 * root). Only the current user and any host are kept; other scopes read as
 * empty and refuse writes. */
extern const CFStringRef kCFPreferencesCurrentUser;
extern const CFStringRef kCFPreferencesAnyUser;
extern const CFStringRef kCFPreferencesCurrentHost;
extern const CFStringRef kCFPreferencesAnyHost;

/* The value under the key, owned by the caller, or NULL. */
CFPropertyListRef CFPreferencesCopyValue(CFStringRef key, CFStringRef applicationID, CFStringRef userName,
                                         CFStringRef hostName);
/* Sets the key in this process; a NULL value removes it. The change reaches
 * the store at the next synchronize. */
void CFPreferencesSetValue(CFStringRef key, CFPropertyListRef value, CFStringRef applicationID,
                           CFStringRef userName, CFStringRef hostName);
/* Writes this process's pending changes and takes in other processes'
 * changes; false when pending changes could not be written. */
Boolean CFPreferencesSynchronize(CFStringRef applicationID, CFStringRef userName, CFStringRef hostName);

#ifdef __cplusplus
}
#endif
#endif
