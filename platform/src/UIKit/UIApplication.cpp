// The shared application (UIKit/UIApplication.h).
#include "UIKit/UIApplication.h"

UIApplication* UIApplication::sharedApplication() {
  static UIApplication application;
  return &application;
}

bool UIApplication::openURL(const std::string& url) {
  opened_.push_back(url);
  return false;
}
