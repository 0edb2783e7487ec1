/* A C program using the exports as a program outside the settings bundle
 * would: store a colour, read it back, scan hex strings. Exits non-zero on
 * the first wrong answer. */
#include <CoreFoundation/CoreFoundation.h>
#include <UIKit/UIKit.h>
#include <Velloria/QHPreferences.h>
#include <stdio.h>

#define CHECK(c)                                        \
  do {                                                  \
    if (!(c)) {                                         \
      fprintf(stderr, "failed: %s (line %d)\n", #c, __LINE__); \
      return 1;                                         \
    }                                                   \
  } while (0)

int main(void) {
  void *pool = objc_autoreleasePoolPush();
  uint32_t out = 7;
  CHECK(hextoint("#FF0000", &out) == 4 && out == 0xFF0000);
  out = 7;
  CHECK(hextoint("123456789", &out) == 2 && out == 7);

  CHECK(QHPreferenceSetStringForKey(CFSTR("colorTitle"), CFSTR("00FF00")));
  CFStringRef s = QHPreferenceStringForKey(CFSTR("colorTitle"));
  CHECK(s != NULL);
  char buffer[16];
  CHECK(CFStringGetCString(s, buffer, sizeof buffer, kCFStringEncodingUTF8));
  CHECK(buffer[0] == '0' && buffer[2] == 'F');

  UIColor *color = QHPreferenceColorForKey(CFSTR("colorTitle"), 0xFF0000);
  double r, g, b, a;
  CHECK(UIColorGetRed(color, &r, &g, &b, &a));
  CHECK(r == 0.0 && g == 1.0 && b == 0.0 && a == 1.0);

  CHECK(QHPreferenceSetIntForKey(CFSTR("viewType"), 3));
  CHECK(QHPreferecneIntForKey(CFSTR("viewType"), 0) == 3);
  CHECK(CFEqual(_sAppId, CFSTR("com.quietharbor.velloria")));
  objc_autoreleasePoolPop(pool);
  puts("ok");
  return 0;
}
