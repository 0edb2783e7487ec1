// The small settings bundle the host tests load: a main pane whose rows come
// from Main.plist, an editable pane built in code that records what the host
// does to it, and a pane whose plist names a getter that does not exist.
#include <memory>
#include <string>

#include "Foundation/NSNotificationCenter.h"
#include "Preferences/Preferences.h"
#include "UIKit/UIKit.h"
#include "platform/core/ObjC.h"

namespace {

class HostMainPane : public PSListController {
 public:
  std::shared_ptr<SpecifierArray> specifiers() override {
    if (!_specifiers) {
      _specifiers = loadSpecifiersFromPlistName("Main", this);
      _specifiers->push_back(
          PSSpecifier::preferenceSpecifierNamed("Missing", this, "", "", "NoSuchPane", PSLinkCell, ""));
    }
    return _specifiers;
  }
  platform::Value version() { return "2.0"; }
  void hello() { UIAlertView("Hello", "World", nullptr, "OK").show(); }
  void visit() { UIApplication::sharedApplication()->openURL("hosttest://site"); }
  platform::Value colorValues() { return platform::Array{"FF0000", "00FF00"}; }
  platform::Value colorTitles() { return platform::Array{"Red", "Green"}; }
};

// Records the keyboard notifications and switch states it sees in a log that
// a row shows, so a script's dump tells what arrived and in which order.
class HostEditPane : public PSEditableListController {
 public:
  ~HostEditPane() override { NSNotificationCenter::defaultCenter()->removeObserver(this); }

  std::shared_ptr<SpecifierArray> specifiers() override {
    if (_specifiers) return _specifiers;
    _specifiers = std::make_shared<SpecifierArray>();
    _specifiers->push_back(PSSpecifier::groupSpecifierWithName("Form"));
    _specifiers->push_back(
        PSSpecifier::preferenceSpecifierNamed("Name", this, "", "", "", PSEditTextCell, "PSTextEditingPane"));
    _specifiers->push_back(PSSpecifier::preferenceSpecifierNamed("Flag", this, "setFlag:specifier:", "flag", "",
                                                                 PSSwitchCell, ""));
    _specifiers->push_back(PSSpecifier::groupSpecifierWithName("Items"));
    for (const char* name : {"A", "B"})
      _specifiers->push_back(PSSpecifier::preferenceSpecifierNamed(name, this, "", "itemValue:", "",
                                                                   PSTitleValueCell, ""));
    _specifiers->push_back(PSSpecifier::preferenceSpecifierNamed("Log", this, "", "log", "", PSStaticTextCell, ""));
    auto center = NSNotificationCenter::defaultCenter();
    for (const char* name : {UIKeyboardWillShowNotification, UIKeyboardDidShowNotification,
                             UIKeyboardWillHideNotification, UIKeyboardDidHideNotification}) {
      std::string shortName = std::string(name).substr(10);  // "WillShowNotification"
      shortName = shortName.substr(0, shortName.size() - 12);
      center->addObserver(this, [this, shortName] { record(shortName); }, name);
    }
    return _specifiers;
  }

  platform::Value itemValue(PSSpecifier* row) { return "value of " + row->name(); }
  platform::Value log() { return log_; }
  platform::Value flag() { return flag_; }
  void setFlag(const platform::Value& value, PSSpecifier* row) {
    auto control = row->propertyForKey("control").objectAs<UISwitch>();
    record(std::string("switch ") + (control ? (control->isOn() ? "on" : "off") : "missing") + " value " +
           (value.boolean() && *value.boolean() ? "true" : "false"));
    flag_ = value;
  }

 private:
  void record(const std::string& event) { log_ += (log_.empty() ? "" : ",") + event; }
  std::string log_;
  platform::Value flag_ = false;
};

class HostBrokenPane : public PSListController {
 public:
  std::shared_ptr<SpecifierArray> specifiers() override {
    if (!_specifiers) _specifiers = loadSpecifiersFromPlistName("Broken", this);
    return _specifiers;
  }
};

const platform::ClassRegistrar<HostMainPane> mainRegistrar(
    "HostMainPane", "PSListController",
    {{"version", &HostMainPane::version},
     {"hello", &HostMainPane::hello},
     {"visit", &HostMainPane::visit},
     {"colorValues", &HostMainPane::colorValues},
     {"colorTitles", &HostMainPane::colorTitles}});
const platform::ClassRegistrar<HostEditPane> editRegistrar(
    "HostEditPane", "PSEditableListController",
    {{"itemValue:", &HostEditPane::itemValue},
     {"log", &HostEditPane::log},
     {"flag", &HostEditPane::flag},
     {"setFlag:specifier:", &HostEditPane::setFlag}});
const platform::ClassRegistrar<HostBrokenPane> brokenRegistrar("HostBrokenPane", "PSListController");

}  // namespace
