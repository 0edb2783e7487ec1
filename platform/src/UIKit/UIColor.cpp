#include "UIKit/UIColor.h"

#include "CoreFoundation/CFObjects.h"

UIColor* UIColor::colorWithRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha) {
  auto* color = new UIColor(red, green, blue, alpha);
  CFAutorelease(color);
  return color;
}

bool UIColor::getRed(CGFloat* red, CGFloat* green, CGFloat* blue, CGFloat* alpha) const {
  if (red) *red = r_;
  if (green) *green = g_;
  if (blue) *blue = b_;
  if (alpha) *alpha = a_;
  return true;
}

CFTypeID UIColor::typeID() const { return kUIColorTypeID; }

void UIColor::destroy() { delete this; }

extern "C" bool UIColorGetRed(const UIColor* color, CGFloat* red, CGFloat* green, CGFloat* blue, CGFloat* alpha) {
  return color && color->getRed(red, green, blue, alpha);
}
