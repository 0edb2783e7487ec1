// The platform's colour object: four double-precision components, kept as
// given (not clamped), so a red above 1.0 stays above 1.0.
#pragma once

#include <stdbool.h>

#ifdef __cplusplus
#include "CoreFoundation/CFBase.h"

using CGFloat = double;

class UIColor final : public __CFObject {
 public:
  // colorWithRed:green:blue:alpha: — an autoreleased colour (not owned).
  static UIColor* colorWithRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);

  // getRed:green:blue:alpha: — any pointer may be null; always true.
  bool getRed(CGFloat* red, CGFloat* green, CGFloat* blue, CGFloat* alpha) const;

  CFTypeID typeID() const override;
  void destroy() override;

 private:
  UIColor(CGFloat r, CGFloat g, CGFloat b, CGFloat a) : r_(r), g_(g), b_(b), a_(a) {}
  CGFloat r_, g_, b_, a_;
};
#else
typedef struct UIColor UIColor;
typedef double CGFloat;
#endif

#ifdef __cplusplus
extern "C" {
#endif
/* getRed:green:blue:alpha: for C callers (what a message send of that
 * selector does): the components of a colour; NULL pointers are skipped.
 * False only for a NULL colour. */
bool UIColorGetRed(const UIColor *color, CGFloat *red, CGFloat *green, CGFloat *blue, CGFloat *alpha);
#ifdef __cplusplus
}
#endif
