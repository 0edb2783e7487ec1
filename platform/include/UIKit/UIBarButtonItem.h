// UIBarButtonItem: a navigation-bar button, either a system item (0 is Done)
// or a titled one, with a target and an action selector. Tapping it sends the
// action to the target through the class registry (platform/ObjC.h).
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/core/Value.h"

enum UIBarButtonSystemItem : int { UIBarButtonSystemItemDone = 0, UIBarButtonSystemItemEdit = 2 };
enum UIBarButtonItemStyle : int { UIBarButtonItemStylePlain = 0, UIBarButtonItemStyleDone = 2 };

class UIBarButtonItem : public platform::Object {
 public:
  // initWithBarButtonSystemItem:target:action: — target borrowed.
  UIBarButtonItem(UIBarButtonSystemItem systemItem, platform::Object* target, std::string action);
  // initWithTitle:style:target:action:
  UIBarButtonItem(std::string title, UIBarButtonItemStyle style, platform::Object* target, std::string action);

  // The system item, or nullopt for a titled button.
  std::optional<int> systemItem() const { return systemItem_; }
  // The title: a titled button's own, or the system item's ("Done", "Edit").
  std::string title() const;
  void setTitle(std::string title) { title_ = std::move(title); }
  platform::Object* target() const { return target_; }
  const std::string& action() const { return action_; }

  // Sends the action to the target (nothing when either is missing). Throws
  // platform::BindingError when the target does not answer the action.
  void tap();

 private:
  std::optional<int> systemItem_;
  std::string title_;
  platform::Object* target_;
  std::string action_;
};
