// UIAlertView: a modal alert. show() hands it to the process's alert queue,
// where the settings host presents the front alert until it is answered.
// Nothing waits for the answer; a delegate, when given, is only recorded.
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/Value.h"

class UIAlertView : public platform::Object {
 public:
  // initWithTitle:message:delegate:cancelButtonTitle:otherButtonTitles:
  UIAlertView(std::optional<std::string> title, std::optional<std::string> message, platform::Object* delegate,
              std::optional<std::string> cancelButtonTitle, std::vector<std::string> otherButtonTitles = {});

  const std::optional<std::string>& title() const { return title_; }
  const std::optional<std::string>& message() const { return message_; }
  platform::Object* delegate() const { return delegate_; }
  const std::optional<std::string>& cancelButtonTitle() const { return cancel_; }
  const std::vector<std::string>& otherButtonTitles() const { return others_; }

  // Presents the alert: a copy goes to the back of the alert queue.
  void show() const;

  // The alerts shown and not yet answered, front first.
  static const std::deque<std::shared_ptr<UIAlertView>>& presentedAlerts();
  // Answers (removes) the front alert; false when there is none.
  static bool dismissFrontAlert();
  // Forgets every presented alert.
  static void clearPresentedAlerts();

 private:
  std::optional<std::string> title_, message_;
  platform::Object* delegate_;
  std::optional<std::string> cancel_;
  std::vector<std::string> others_;
};
