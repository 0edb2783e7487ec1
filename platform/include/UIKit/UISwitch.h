// UISwitch: an on/off control.
#pragma once

#include "platform/core/Value.h"

class UISwitch : public platform::Object {
 public:
  bool isOn() const { return on_; }
  void setOn(bool on, bool animated = false) {
    (void)animated;
    on_ = on;
  }

 private:
  bool on_ = false;
};
