// Navigation-bar buttons (UIKit/UIBarButtonItem.h).
#include "UIKit/UIBarButtonItem.h"

#include "platform/core/ObjC.h"

UIBarButtonItem::UIBarButtonItem(UIBarButtonSystemItem systemItem, platform::Object* target, std::string action)
    : systemItem_(systemItem), target_(target), action_(std::move(action)) {}

UIBarButtonItem::UIBarButtonItem(std::string title, UIBarButtonItemStyle style, platform::Object* target,
                                 std::string action)
    : title_(std::move(title)), target_(target), action_(std::move(action)) {
  (void)style;
}

std::string UIBarButtonItem::title() const {
  if (!title_.empty() || !systemItem_) return title_;
  switch (*systemItem_) {
    case UIBarButtonSystemItemDone:
      return "Done";
    case UIBarButtonSystemItemEdit:
      return "Edit";
    default:
      return "";
  }
}

void UIBarButtonItem::tap() {
  if (!target_ || action_.empty()) return;
  platform::performSelector(*target_, action_);
}
