// UIResponder and the keyboard: the process keeps one first responder.
//
// Becoming first responder while the keyboard is hidden shows it: the
// keyboard will-show and did-show notifications are posted. Focus moving to
// another responder while the keyboard is up posts will-show and did-show
// again, as the device does. A resign that leaves no responder hides the
// keyboard: will-hide, then did-hide. Notifications are not delivered inside
// the call: they are queued on the run loop (platform/RunLoop.h) and arrive,
// in order, after the current handler returns. The sender is null.
#pragma once

#include "platform/core/Value.h"

class UIResponder : public platform::Object {
 public:
  UIResponder() = default;
  UIResponder(const UIResponder&) = delete;
  UIResponder& operator=(const UIResponder&) = delete;
  // A first responder that dies stops being one, silently (no notification).
  ~UIResponder() override;

  virtual bool canBecomeFirstResponder() const { return false; }
  virtual bool isFirstResponder() const;
  // True when this is (now) the first responder; false when it cannot be.
  virtual bool becomeFirstResponder();
  // True when this is no longer the first responder (also when it never was).
  virtual bool resignFirstResponder();

  // The current first responder, or null.
  static UIResponder* firstResponder();
};

// Whether the keyboard is on screen (some responder holds the focus).
bool UIKeyboardIsVisible();
