// UIApplication: the shared application. openURL: is recorded (the settings
// host shows the URLs it was asked to open); no application here handles any
// scheme, so opening has no other effect and answers false.
#pragma once

#include <string>
#include <vector>

#include "platform/core/Value.h"

class UIApplication : public platform::Object {
 public:
  static UIApplication* sharedApplication();

  bool openURL(const std::string& url);
  // Every URL passed to openURL:, in order.
  const std::vector<std::string>& openedURLs() const { return opened_; }
  void clearOpenedURLs() { opened_.clear(); }

 private:
  std::vector<std::string> opened_;
};
