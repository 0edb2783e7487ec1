// UINavigationItem: the navigation bar's content for one pane.
#pragma once

#include <memory>
#include <string>

#include "UIKit/UIBarButtonItem.h"

class UINavigationItem : public platform::Object {
 public:
  const std::string& title() const { return title_; }
  void setTitle(std::string title) { title_ = std::move(title); }

  // The right button (owned), or null.
  const std::shared_ptr<UIBarButtonItem>& rightBarButtonItem() const { return right_; }
  void setRightBarButtonItem(std::shared_ptr<UIBarButtonItem> item, bool animated = false) {
    (void)animated;
    right_ = std::move(item);
  }

 private:
  std::string title_;
  std::shared_ptr<UIBarButtonItem> right_;
};
