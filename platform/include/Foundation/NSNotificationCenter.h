// NSNotificationCenter: synchronous, in-process notifications.
//
// Observers are registered with a handler for a name (empty: every name) and
// a sender (null: any sender). postNotificationName delivers to every
// matching registration in registration order, on the posting thread, before
// it returns. Handlers may add and remove observers while a notification is
// delivered: a registration removed during delivery is not called afterwards,
// and one added during delivery first hears the next notification.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/core/Value.h"

// The keyboard notifications the host posts.
inline constexpr const char* UIKeyboardWillShowNotification = "UIKeyboardWillShowNotification";
inline constexpr const char* UIKeyboardDidShowNotification = "UIKeyboardDidShowNotification";
inline constexpr const char* UIKeyboardWillHideNotification = "UIKeyboardWillHideNotification";
inline constexpr const char* UIKeyboardDidHideNotification = "UIKeyboardDidHideNotification";

class NSNotification : public platform::Object {
 public:
  NSNotification(std::string name, const platform::Object* object) : name_(std::move(name)), object_(object) {}
  const std::string& name() const { return name_; }
  // The sender; null when posted without one.
  const platform::Object* object() const { return object_; }

 private:
  std::string name_;
  const platform::Object* object_;
};

class NSNotificationCenter : public platform::Object {
 public:
  using Handler = std::function<void(const NSNotification&)>;

  // The process's one center.
  static std::shared_ptr<NSNotificationCenter> defaultCenter();

  // observer identifies the registration for removeObserver; it is never
  // called through. An empty handler registers nothing.
  void addObserver(platform::Object* observer, Handler handler, const std::string& name,
                   const platform::Object* sender = nullptr);
  void addObserver(platform::Object* observer, std::function<void()> handler, const std::string& name,
                   const platform::Object* sender = nullptr);

  // Removes every registration of the observer.
  void removeObserver(platform::Object* observer);

  void postNotificationName(const std::string& name, const platform::Object* sender = nullptr);

 private:
  struct Registration {
    platform::Object* observer;
    Handler handler;
    std::string name;
    const platform::Object* sender;
    bool active = true;
  };

  std::mutex mutex_;
  std::vector<std::shared_ptr<Registration>> registrations_;
};
