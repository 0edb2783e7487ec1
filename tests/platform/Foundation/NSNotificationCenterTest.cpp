#include "Foundation/NSNotificationCenter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Observer : platform::Object {};

// Each test uses its own center so that registrations never leak between
// tests; the default center is the same kind of object.
class NotificationCenterTest : public ::testing::Test {
 protected:
  NSNotificationCenter center_;
  std::vector<std::string> calls_;
};

TEST_F(NotificationCenterTest, DeliversMatchingNamesInRegistrationOrder) {
  Observer a, b;
  center_.addObserver(&a, [&] { calls_.push_back("a-show"); }, UIKeyboardWillShowNotification);
  center_.addObserver(&b, [&] { calls_.push_back("b-show"); }, UIKeyboardWillShowNotification);
  center_.addObserver(&a, [&] { calls_.push_back("a-hide"); }, UIKeyboardDidHideNotification);
  center_.addObserver(
      &b, [&](const NSNotification& n) { calls_.push_back("b-any:" + n.name()); }, "");
  center_.postNotificationName(UIKeyboardWillShowNotification);
  EXPECT_EQ(calls_, (std::vector<std::string>{"a-show", "b-show", "b-any:UIKeyboardWillShowNotification"}));
  calls_.clear();
  center_.postNotificationName("Unrelated");
  EXPECT_EQ(calls_, (std::vector<std::string>{"b-any:Unrelated"}));
}

TEST_F(NotificationCenterTest, SenderFilter) {
  Observer observer, sender, other;
  const platform::Object* seen = &other;
  center_.addObserver(&observer, [&] { calls_.push_back("from sender"); }, "N", &sender);
  center_.addObserver(
      &observer, [&](const NSNotification& n) { seen = n.object(); calls_.push_back("any"); }, "N");
  center_.postNotificationName("N", &other);
  center_.postNotificationName("N", nullptr);
  EXPECT_EQ(calls_, (std::vector<std::string>{"any", "any"}));
  EXPECT_EQ(seen, nullptr);
  calls_.clear();
  center_.postNotificationName("N", &sender);
  EXPECT_EQ(calls_, (std::vector<std::string>{"from sender", "any"}));
  EXPECT_EQ(seen, &sender);
}

TEST_F(NotificationCenterTest, RemoveObserverRemovesAllItsRegistrations) {
  Observer a, b;
  center_.addObserver(&a, [&] { calls_.push_back("a1"); }, "N");
  center_.addObserver(&a, [&] { calls_.push_back("a2"); }, "M");
  center_.addObserver(&b, [&] { calls_.push_back("b"); }, "N");
  center_.removeObserver(&a);
  center_.postNotificationName("N");
  center_.postNotificationName("M");
  EXPECT_EQ(calls_, (std::vector<std::string>{"b"}));
  center_.removeObserver(&a);  // nothing left: harmless
}

TEST_F(NotificationCenterTest, ChangesDuringDelivery) {
  Observer first, second, late;
  center_.addObserver(&first, [&] {
    calls_.push_back("first");
    center_.removeObserver(&second);
    center_.addObserver(&late, [&] { calls_.push_back("late"); }, "N");
  }, "N");
  center_.addObserver(&second, [&] { calls_.push_back("second"); }, "N");
  center_.postNotificationName("N");
  // The removed observer is not called; the added one hears the next post.
  EXPECT_EQ(calls_, (std::vector<std::string>{"first"}));
  calls_.clear();
  center_.removeObserver(&first);
  center_.postNotificationName("N");
  EXPECT_EQ(calls_, (std::vector<std::string>{"late"}));
}

TEST_F(NotificationCenterTest, HandlerMayRemoveItselfAndPostAgain) {
  Observer self;
  int depth = 0;
  center_.addObserver(&self, [&] {
    ++depth;
    center_.removeObserver(&self);
    center_.postNotificationName("N");  // no longer registered: not called again
  }, "N");
  center_.postNotificationName("N");
  EXPECT_EQ(depth, 1);
}

}  // namespace
