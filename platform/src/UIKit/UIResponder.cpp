// The first responder and the keyboard it brings up (UIKit/UIResponder.h).
#include "UIKit/UIResponder.h"

#include "Foundation/NSNotificationCenter.h"
#include "platform/core/RunLoop.h"

namespace {

UIResponder* gFirstResponder = nullptr;

// Keyboard notifications reach observers on a later turn of the run loop,
// never inside the call that caused them.
void postLater(const char* name) {
  platform::RunLoop::enqueue([name] { NSNotificationCenter::defaultCenter()->postNotificationName(name); });
}

}  // namespace

UIResponder::~UIResponder() {
  if (gFirstResponder == this) gFirstResponder = nullptr;
}

bool UIResponder::isFirstResponder() const { return gFirstResponder == this; }

bool UIResponder::becomeFirstResponder() {
  if (!canBecomeFirstResponder()) return false;
  if (gFirstResponder == this) return true;
  gFirstResponder = this;
  postLater(UIKeyboardWillShowNotification);
  postLater(UIKeyboardDidShowNotification);
  return true;
}

bool UIResponder::resignFirstResponder() {
  if (gFirstResponder != this) return true;
  gFirstResponder = nullptr;
  postLater(UIKeyboardWillHideNotification);
  postLater(UIKeyboardDidHideNotification);
  return true;
}

UIResponder* UIResponder::firstResponder() { return gFirstResponder; }

bool UIKeyboardIsVisible() { return gFirstResponder != nullptr; }
