// Alerts and the queue the settings host presents them from (UIKit/UIAlertView.h).
#include "UIKit/UIAlertView.h"

namespace {

std::deque<std::shared_ptr<UIAlertView>>& presented() {
  static std::deque<std::shared_ptr<UIAlertView>> alerts;
  return alerts;
}

}  // namespace

UIAlertView::UIAlertView(std::optional<std::string> title, std::optional<std::string> message,
                         platform::Object* delegate, std::optional<std::string> cancelButtonTitle,
                         std::vector<std::string> otherButtonTitles)
    : title_(std::move(title)),
      message_(std::move(message)),
      delegate_(delegate),
      cancel_(std::move(cancelButtonTitle)),
      others_(std::move(otherButtonTitles)) {}

void UIAlertView::show() const { presented().push_back(std::make_shared<UIAlertView>(*this)); }

const std::deque<std::shared_ptr<UIAlertView>>& UIAlertView::presentedAlerts() { return presented(); }

bool UIAlertView::dismissFrontAlert() {
  if (presented().empty()) return false;
  presented().pop_front();
  return true;
}

void UIAlertView::clearPresentedAlerts() { presented().clear(); }
