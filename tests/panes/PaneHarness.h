// A device root for the colour, holiday and calendar panes, and the host's
// part in driving them: live cells for the rows, typing, focusing and
// dismissing the keyboard (its notifications delivered as the run loop
// would), the presented alerts, the widget data file and the preference
// domain's file.
#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "Foundation/NSBundle.h"
#include "Preferences/PSListController.h"
#include "Preferences/PSTableCell.h"
#include "TempRoot.h"
#include "UIKit/UIAlertView.h"
#include "UIKit/UIBarButtonItem.h"
#include "UIKit/UIResponder.h"
#include "WidgetData.h"
#include "platform/plist/PropertyList.h"
#include "platform/core/RunLoop.h"

namespace platform {
// Values print as their property-list text in test failures.
inline void PrintTo(const Value& value, std::ostream* os) {
  std::optional<std::string> xml = serializeXML(value);
  *os << (xml ? *xml : value.isNil() ? std::string("nil") : std::string("(no property list)"));
}
}  // namespace platform

namespace pane_test {

inline constexpr const char* kBundlePath = "/Library/PreferenceBundles/VelloriaSettings.bundle";
inline constexpr const char* kDomainPath = "/var/mobile/Library/Preferences/com.quietharbor.velloria.plist";

// Leaves no focus, queued notification or alert behind for the next test.
inline void resetHostState() {
  if (UIResponder* responder = UIResponder::firstResponder()) responder->resignFirstResponder();
  platform::RunLoop::drain();
  platform::RunLoop::clear();
  UIAlertView::clearPresentedAlerts();
}

class PaneHarness {
 public:
  // The settings bundle holds the source "ColorSettings.plist" and no string
  // tables, so every text reads as its key.
  PaneHarness() {
    resetHostState();
    std::filesystem::copy_file(std::string(VELLORIA_SOURCE_DIR) + "/resources/ColorSettings.plist",
                               bundleFile("ColorSettings.plist"));
    // A device image has the widget's directory and the preferences directory.
    root_.file(std::string(velloria::kWidgetDataPath));
    root_.file(kDomainPath);
    std::shared_ptr<NSBundle> bundle = NSBundle::bundleWithPath(kBundlePath);
    for (const char* cls : {"VLRPColorsListController", "VLRPCustomizeColorsController",
                            "VLRPCustomizeHolidaysController", "VLRPCalendarsController", "VLRSettingsController"})
      NSBundle::registerBundleForClass(cls, bundle);
  }
  ~PaneHarness() { resetHostState(); }

  const testing_support::TempRoot& root() const { return root_; }
  std::string bundleFile(const std::string& name) const { return root_.file(std::string(kBundlePath) + "/" + name); }
  // Writes a string table of the bundle's "en.lproj".
  void writeStringTable(const std::string& table, const std::string& text) const {
    std::ofstream(bundleFile("en.lproj/" + table + ".strings")) << text;
  }

  std::string widgetDataFile() const { return root_.file(velloria::kWidgetDataPath); }
  void writeWidgetData(const platform::Dictionary& data) const {
    ASSERT_TRUE(platform::writePropertyListFile(widgetDataFile(), platform::Value(data)));
  }
  // The file's root dictionary; nothing when it is missing or malformed.
  std::optional<platform::Dictionary> widgetData() const { return platform::readDictionaryFile(widgetDataFile()); }
  // The file's root dictionary, a test failure when there is none.
  platform::Dictionary widgetFile() const {
    std::optional<platform::Dictionary> file = widgetData();
    if (!file) ADD_FAILURE() << "no readable widget data file";
    return file.value_or(platform::Dictionary());
  }
  platform::Dictionary widgetDictionary(const std::string& key) const {
    return velloria::widgetDictionary(widgetData(), key);
  }

  std::string domainFile() const { return root_.file(kDomainPath); }
  platform::Dictionary domain() const { return platform::readDictionaryFile(domainFile()).value_or(platform::Dictionary()); }
  void writeDomain(const platform::Dictionary& domain) const {
    ASSERT_TRUE(platform::writePropertyListFile(domainFile(), platform::Value(domain)));
  }

  // Adds an iCalendar file that the event store lists as one calendar.
  void addCalendar(const std::string& fileName, const std::string& title, const std::string& id) const {
    std::ofstream(root_.file("/var/mobile/Library/Calendars/" + fileName))
        << "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Velloria tests//EN\r\nX-WR-CALNAME:" << title
        << "\r\nX-WR-RELCALID:" << id << "\r\nEND:VCALENDAR\r\n";
  }

 private:
  testing_support::TempRoot root_;
};

// The host showing a pane: its rows, live cells for all of them, and the
// host's Edit button on the right.
template <class Pane>
struct ShownPane {
  std::shared_ptr<Pane> pane = std::make_shared<Pane>();
  std::shared_ptr<UIBarButtonItem> editButton =
      std::make_shared<UIBarButtonItem>(UIBarButtonSystemItemEdit, pane.get(), "setEditingButtonTapped");

  ShownPane() {
    pane->navigationItem()->setRightBarButtonItem(editButton);
    pane->specifiers();
    showCells();
  }
  // Creates live cells for rows that have none (new rows included).
  void showCells() {
    for (const auto& row : *pane->specifiers()) PSTableCell::cellForSpecifier(*row);
  }
  std::shared_ptr<PSTableCell> cell(long index) const {
    auto row = pane->specifierAtIndex(index);
    return row ? row->propertyForKey("cellObject").template objectAs<PSTableCell>() : nullptr;
  }
  std::optional<std::string> text(long index) const { return cell(index)->textField()->text(); }
  void type(long index, std::optional<std::string> text) const { cell(index)->textField()->setText(std::move(text)); }
  // Makes a text row first responder; the keyboard notifications arrive.
  void focus(long index) const {
    cell(index)->becomeFirstResponder();
    platform::RunLoop::drain();
  }
  // The focused field resigns; the keyboard goes and its notifications arrive.
  void dismiss() const {
    if (UIResponder* responder = UIResponder::firstResponder()) responder->resignFirstResponder();
    platform::RunLoop::drain();
  }
  // Types both fields of an inline add form and lets the keyboard go.
  void enter(long first, const std::string& a, long second, const std::string& b) const {
    focus(first);
    type(first, a);
    focus(second);
    type(second, b);
    dismiss();
  }
  const std::shared_ptr<UIBarButtonItem>& right() const { return pane->navigationItem()->rightBarButtonItem(); }
  bool rightIsDone() const { return right() && right()->systemItem() == UIBarButtonSystemItemDone; }
  long rowCount() const { return static_cast<long>(pane->specifiers()->size()); }
  std::string name(long index) const { return pane->specifierAtIndex(index)->name(); }
};

// The value under a key, nil when it is absent.
inline platform::Value at(const platform::Dictionary& dictionary, std::string_view key) {
  const platform::Value* value = dictionary.find(key);
  return value ? *value : platform::Value();
}

inline std::size_t alertCount() { return UIAlertView::presentedAlerts().size(); }
// Checks the front alert is "error" / message / "OK" with no delegate, and answers it.
inline void expectErrorAlert(const std::string& message) {
  ASSERT_EQ(alertCount(), 1u);
  const auto& alert = *UIAlertView::presentedAlerts().front();
  EXPECT_EQ(alert.title(), "error");
  EXPECT_EQ(alert.message(), message);
  EXPECT_EQ(alert.cancelButtonTitle(), "OK");
  EXPECT_TRUE(alert.otherButtonTitles().empty());
  EXPECT_EQ(alert.delegate(), nullptr);
  UIAlertView::dismissFrontAlert();
}

}  // namespace pane_test
