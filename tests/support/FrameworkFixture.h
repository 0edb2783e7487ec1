// Shared set-up of the framework tests: a device root holding one settings
// bundle, a pane class bound to it with getters, setters, actions and data
// sources of every supported signature, and a clean host state (no focus,
// no queued work, no alerts) before and after each test.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Foundation/NSBundle.h"
#include "Preferences/Preferences.h"
#include "TempRoot.h"
#include "UIKit/UIKit.h"
#include "platform/core/ObjC.h"
#include "platform/plist/PropertyList.h"
#include "platform/core/RunLoop.h"

namespace framework_test {

inline constexpr const char* kBundle = "/Library/PreferenceBundles/FrameworkTest.bundle";

// A pane whose members record how the framework called them.
class TestPane : public PSEditableListController {
 public:
  platform::Value version() { return platform::Value("2.0"); }
  platform::Value nameOf(PSSpecifier* row) { return row ? platform::Value(row->name()) : platform::Value(); }
  void setThing(const platform::Value& value, PSSpecifier* row) {
    stored.push_back(value);
    storedRows.push_back(row);
    // What the row's switch said when the setter ran.
    auto control = row ? row->propertyForKey("control").objectAs<UISwitch>() : nullptr;
    switchWhenSet.push_back(control && control->isOn());
  }
  void setPlain(const platform::Value& value) { stored.push_back(value); }
  void press() { ++presses; }
  void pressRow(PSSpecifier* row) { pressedRows.push_back(row); }
  platform::Value colors() { return platform::Value(platform::Array{"FF0000", "00FF00", "0000FF"}); }
  platform::Value colorTitles(PSSpecifier*) { return platform::Value(platform::Array{"red", "green", "blue"}); }

  std::vector<platform::Value> stored;
  std::vector<PSSpecifier*> storedRows;
  std::vector<bool> switchWhenSet;
  int presses = 0;
  std::vector<PSSpecifier*> pressedRows;
};

inline const platform::ClassRegistrar<TestPane> kTestPaneRegistrar(
    "FrameworkTestPane", "PSEditableListController",
    {{"version", &TestPane::version},
     {"nameOf:", &TestPane::nameOf},
     {"setThing:specifier:", &TestPane::setThing},
     {"setPlain:", &TestPane::setPlain},
     {"press", &TestPane::press},
     {"pressRow:", &TestPane::pressRow},
     {"colors", &TestPane::colors},
     {"colorTitles:", &TestPane::colorTitles}});

// Leaves no focus, queued work or alert behind.
inline void resetHostState() {
  if (UIResponder* responder = UIResponder::firstResponder()) responder->resignFirstResponder();
  platform::RunLoop::clear();
  UIAlertView::clearPresentedAlerts();
}

class FrameworkTest : public ::testing::Test {
 protected:
  FrameworkTest() {
    resetHostState();
    root_.file(std::string(kBundle) + "/Info.plist");
    writePlist("Info.plist", platform::Dictionary{{"CFBundleDevelopmentRegion", "en"}});
    NSBundle::registerBundleForClass("FrameworkTestPane", NSBundle::bundleWithPath(kBundle));
    NSBundle::registerBundleForClass("PSListItemsController", NSBundle::bundleWithPath(kBundle));
  }
  ~FrameworkTest() override { resetHostState(); }

  // Writes a file of the bundle as an XML property list.
  void writePlist(const std::string& name, const platform::Dictionary& content) const {
    ASSERT_TRUE(platform::writePropertyListFile(root_.file(std::string(kBundle) + "/" + name), platform::Value(content)));
  }
  // A plist of rows named `name` with an optional string table for it.
  void writeRows(const std::string& name, platform::Array items, platform::Dictionary extra = {}) const {
    platform::Dictionary root = extra;
    root.set("items", platform::Value(std::move(items)));
    writePlist(name + ".plist", root);
  }

  testing_support::TempRoot root_;
};

}  // namespace framework_test
