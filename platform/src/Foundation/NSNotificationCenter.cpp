#include "Foundation/NSNotificationCenter.h"

#include <algorithm>

std::shared_ptr<NSNotificationCenter> NSNotificationCenter::defaultCenter() {
  static const auto center = std::make_shared<NSNotificationCenter>();
  return center;
}

void NSNotificationCenter::addObserver(platform::Object* observer, Handler handler, const std::string& name,
                                       const platform::Object* sender) {
  if (!handler) return;
  std::lock_guard lock(mutex_);
  registrations_.push_back(std::make_shared<Registration>(Registration{observer, std::move(handler), name, sender}));
}

void NSNotificationCenter::addObserver(platform::Object* observer, std::function<void()> handler,
                                       const std::string& name, const platform::Object* sender) {
  if (!handler) return;
  addObserver(observer, Handler([handler = std::move(handler)](const NSNotification&) { handler(); }), name, sender);
}

void NSNotificationCenter::removeObserver(platform::Object* observer) {
  std::lock_guard lock(mutex_);
  std::erase_if(registrations_, [&](const std::shared_ptr<Registration>& r) {
    if (r->observer != observer) return false;
    r->active = false;
    return true;
  });
}

void NSNotificationCenter::postNotificationName(const std::string& name, const platform::Object* sender) {
  std::vector<std::shared_ptr<Registration>> matching;
  {
    std::lock_guard lock(mutex_);
    for (const auto& r : registrations_) {
      if ((r->name.empty() || r->name == name) && (r->sender == nullptr || r->sender == sender)) matching.push_back(r);
    }
  }
  NSNotification notification(name, sender);
  for (const auto& r : matching) {
    bool active;
    {
      std::lock_guard lock(mutex_);
      active = r->active;
    }
    if (active) r->handler(notification);
  }
}
