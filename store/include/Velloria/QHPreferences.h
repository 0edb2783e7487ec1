/* Typed access to the widget's preference domain and the hex colour format.
 *
 * Every getter synchronises the domain before it reads, so it sees what any
 * process wrote; every setter synchronises after it writes. Object results
 * are autoreleased copies: valid until the caller's autorelease pool is
 * popped, retained (CFRetain) to keep them longer. Booleans and numbers never
 * stand in for each other. */
#ifndef VELLORIA_QHPREFERENCES_H
#define VELLORIA_QHPREFERENCES_H

#include <CoreFoundation/CoreFoundation.h>
#include <UIKit/UIColor.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The application identifier, "com.quietharbor.velloria": the preference
 * domain's name. */
extern const CFStringRef _sAppId;

/* The stored number, string or array; NULL when the key is absent or holds
 * another type. */
CFNumberRef QHPreferenceNumberForKey(CFStringRef key);
CFStringRef QHPreferenceStringForKey(CFStringRef key);
CFArrayRef QHPreferenceArrayForKey(CFStringRef key);

/* The stored number as a 32-bit integer (a fraction cut toward zero) or a
 * float, or the default when there is no number. The integer getter's name
 * is spelt as it has always been exported. */
int32_t QHPreferecneIntForKey(CFStringRef key, int32_t defaultValue);
float QHPreferenceFloatForKey(CFStringRef key, float defaultValue);
/* The stored boolean, or the default when there is no boolean. */
bool QHPreferenceBoolForKey(CFStringRef key, bool defaultValue);

/* Store a value and synchronise; true when it reached the store. The string
 * setter stores any property-list object unchanged; NULL removes the key. */
bool QHPreferenceSetIntForKey(CFStringRef key, int32_t value);
bool QHPreferenceSetStringForKey(CFStringRef key, CFStringRef value);

/* Scans a hex colour string of 1 to 8 bytes backwards over its trailing
 * hexadecimal digits. Returns 1 for an empty string and 2 for one longer than
 * 8 bytes (out untouched in both cases); otherwise writes the value of the
 * trailing digits to out and returns 4 when a non-digit stopped the scan, 1
 * when every byte was a digit. A NULL string counts as empty. */
int hextoint(const char *string, uint32_t *out);

/* The colour stored under the key as a hex string (0xRRGGBB; red takes all
 * 16 bits above bit 15), or the default value's colour when the key holds no
 * string, or an empty one or one over 8 bytes. Autoreleased, never NULL. */
UIColor *QHPreferenceColorForKey(CFStringRef key, uint32_t defaultValue);

#ifdef __cplusplus
}
#endif
#endif
