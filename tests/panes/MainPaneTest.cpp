// The main pane: its rows from "Main", the calendar row check on the first
// attach, the view-type store, the colour reset and the feedback URL.
#include <gtest/gtest.h>

#include <fstream>

#include "MainBundleFixture.h"
#include "UIKit/UIApplication.h"
#include "VLRPListController.h"
#include "platform/core/ObjC.h"

namespace {

using platform::Dictionary;
using platform::Value;

class MainPaneTest : public ::testing::Test {
 protected:
  // The first row whose getter (or, with an empty getter, whose "key") matches.
  std::shared_ptr<PSSpecifier> rowWithGetter(const std::string& getter) {
    for (const auto& row : *pane.specifiers())
      if (row->getter() == getter) return row;
    return nullptr;
  }
  std::shared_ptr<PSSpecifier> rowWithKey(const std::string& key) {
    for (const auto& row : *pane.specifiers())
      if (row->propertyForKey("key") == Value(key)) return row;
    return nullptr;
  }
  Value calendarRowEnabled() { return pane.specifierForID("selectcalendar")->propertyForKey("enabled"); }

  // The colour items list of the installed bundle.
  platform::Array colorItems() {
    auto settings = main_bundle::readHostDictionary(bundle.bundleFile("ColorSettings.plist"));
    return settings ? *settings->find("items")->array() : platform::Array();
  }

  // Replaces the installed bundle's ColorSettings.plist.
  void writeColorSettings(const Value& root) {
    ASSERT_TRUE(platform::writePropertyListFile(bundle.bundleFile("ColorSettings.plist"), root));
  }

  main_bundle::MainBundleFixture bundle;
  VLRPListController pane;
  PSRootController root, otherRoot;
};

TEST_F(MainPaneTest, RowsAreLoadedOnceAndBindTheVersionAndAuthorGetters) {
  auto rows = pane.specifiers();
  ASSERT_NE(rows, nullptr);
  EXPECT_EQ(pane.specifiers(), rows);
  ASSERT_NE(pane.specifierForID("selectcalendar"), nullptr);

  auto version = rowWithGetter("widgetVersion");
  auto author = rowWithGetter("username");
  ASSERT_NE(version, nullptr);
  ASSERT_NE(author, nullptr);
  EXPECT_EQ(PSListController::valueForSpecifier(*version), Value("1.5.1"));
  EXPECT_EQ(PSListController::valueForSpecifier(*author), Value("@quietharbor"));
}

TEST_F(MainPaneTest, CalendarRowIsDisabledWithoutCalendars) {
  pane.specifiers();
  pane.setRootController(&root);
  EXPECT_EQ(calendarRowEnabled(), Value(false));
  EXPECT_EQ(pane.rootController(), &root);
}

TEST_F(MainPaneTest, OneCalendarEnablesTheCalendarRow) {
  bundle.addCalendar("work.ics", "Work");
  pane.specifiers();
  pane.setRootController(&root);
  EXPECT_EQ(calendarRowEnabled(), Value(true));
}

TEST_F(MainPaneTest, NilRootNeverRunsTheCheckButIsPassedOn) {
  pane.specifiers();
  pane.setRootController(nullptr);
  EXPECT_TRUE(calendarRowEnabled().isNil());

  pane.setRootController(&root);
  pane.setRootController(nullptr);
  EXPECT_EQ(pane.rootController(), nullptr);
}

TEST_F(MainPaneTest, CheckRunsOnlyWhenNoRootIsSet) {
  pane.specifiers();
  pane.setRootController(&root);
  EXPECT_EQ(calendarRowEnabled(), Value(false));

  bundle.addCalendar("home.ics", "Home");
  pane.setRootController(&otherRoot);
  EXPECT_EQ(pane.rootController(), &otherRoot);
  EXPECT_EQ(calendarRowEnabled(), Value(false));

  // Detached and attached again, the pane checks afresh.
  pane.setRootController(nullptr);
  pane.setRootController(&root);
  EXPECT_EQ(calendarRowEnabled(), Value(true));
}

TEST_F(MainPaneTest, AttachingBeforeTheRowsAreAskedForStillChecks) {
  pane.setRootController(&root);
  EXPECT_EQ(calendarRowEnabled(), Value(false));
}

TEST_F(MainPaneTest, MainWithoutACalendarRowChangesNothing) {
  bundle.addCalendar("work.ics", "Work");
  ASSERT_TRUE(platform::writePropertyListFile(
      bundle.bundleFile("Main.plist"),
      Value(Dictionary{{"items", Value(platform::Array{Value(Dictionary{{"cell", Value("PSGroupCell")}})})}})));
  pane.setRootController(&root);
  ASSERT_EQ(pane.specifiers()->size(), 1u);
  EXPECT_TRUE(pane.specifierAtIndex(0)->propertyForKey("enabled").isNil());
}

TEST_F(MainPaneTest, ViewTypeRowStoresUnderItsKeyAndKeepsOtherKeys) {
  bundle.writeDomain(Dictionary{{"todayColor", Value("FF0000")}});
  auto viewType = rowWithKey("viewType");
  ASSERT_NE(viewType, nullptr);
  EXPECT_EQ(viewType->setter(), "setViewType:forSpecifier:");

  ASSERT_TRUE(PSListController::storeValueForSpecifier(*viewType, Value(1)));
  EXPECT_EQ(bundle.domain(), (Dictionary{{"todayColor", Value("FF0000")}, {"viewType", Value(1)}}));
  EXPECT_EQ(PSListController::valueForSpecifier(*viewType), Value(1));
}

TEST_F(MainPaneTest, ViewTypeOnARowWithoutKeyStoresNothingInTheDomain) {
  bundle.writeDomain(Dictionary{{"kept", Value(true)}});
  auto row = PSSpecifier::preferenceSpecifierNamed("view type", &pane, "setViewType:forSpecifier:", "", "",
                                                   PSSegmentCell, "");
  pane.setViewType(Value(1), row.get());
  EXPECT_EQ(bundle.domain(), (Dictionary{{"kept", Value(true)}}));
}

TEST_F(MainPaneTest, ResetWritesEveryDefaultOfTheColourItems) {
  bundle.writeDomain(Dictionary{{"unrelated", Value("stays")}});
  platform::Array items = colorItems();
  // A setting the user changed and one never written are both reset.
  std::string firstKey;
  for (const Value& item : items)
    if (const Value* key = item.dictionary()->find("key")) {
      firstKey = *key->string();
      break;
    }
  ASSERT_FALSE(firstKey.empty());
  pane.setPreferenceValue(Value("123456"), firstKey);

  pane.resetColors();
  Dictionary stored = bundle.domain();
  int written = 0;
  for (const Value& item : items) {
    const Dictionary& entry = *item.dictionary();
    if (!entry.contains("key")) continue;
    ++written;
    const Value* value = stored.find(*entry.find("key")->string());
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(*value, *entry.find("default"));
  }
  EXPECT_GE(written, 4);
  EXPECT_EQ(main_bundle::valueOf(stored, "unrelated"), Value("stays"));
}

TEST_F(MainPaneTest, ResetFollowsTheItemsInOrderAndSkipsEntriesWithoutAKey) {
  bundle.writeDomain(Dictionary{{"noDefault", Value("AAAAAA")}, {"same", Value("000000")}});
  writeColorSettings(Value(Dictionary{
      {"items", Value(platform::Array{
                    Value(Dictionary{{"cell", Value("PSGroupCell")}, {"default", Value("999999")}}),
                    Value(Dictionary{{"key", Value("same")}, {"default", Value("111111")}}),
                    Value(Dictionary{{"key", Value("noDefault")}}),
                    Value(Dictionary{{"key", Value(5)}, {"default", Value("555555")}}),
                    Value("not an entry"),
                    Value(Dictionary{{"key", Value("same")}, {"default", Value("222222")}}),
                })}}));
  pane.resetColors();
  EXPECT_EQ(bundle.domain(), (Dictionary{{"same", Value("222222")}}));
}

TEST_F(MainPaneTest, ResetWithoutItemsOrResourceDoesNothing) {
  bundle.writeDomain(Dictionary{{"todayColor", Value("123456")}});
  writeColorSettings(Value(Dictionary{{"items", Value("not an array")}}));
  pane.resetColors();
  EXPECT_EQ(bundle.domain(), (Dictionary{{"todayColor", Value("123456")}}));

  std::filesystem::remove(bundle.bundleFile("ColorSettings.plist"));
  pane.resetColors();
  EXPECT_EQ(bundle.domain(), (Dictionary{{"todayColor", Value("123456")}}));
}

TEST_F(MainPaneTest, ResetAndFeedbackAreTheActionsOfMainRows) {
  bool reset = false, feedback = false;
  for (const auto& row : *pane.specifiers()) {
    reset = reset || row->action() == "resetColors";
    feedback = feedback || row->action() == "feedback";
  }
  EXPECT_TRUE(reset);
  EXPECT_TRUE(feedback);

  UIApplication::sharedApplication()->clearOpenedURLs();
  platform::performSelector(pane, "feedback");
  EXPECT_EQ(UIApplication::sharedApplication()->openedURLs(),
            std::vector<std::string>{"cydia://package/com.quietharbor.velloria"});
}

}  // namespace
