// The bundle resources: what the host and the code read from them, and a text
// for every string-table key the panes show, in every localisation.
#include <gtest/gtest.h>

#include <set>

#include "MainBundleFixture.h"
#include "TextKeys.h"
#include "Velloria/QHPreferences.h"
#include "platform/core/ObjC.h"

namespace {

using platform::Dictionary;
using platform::Value;

Dictionary sourcePlist(const std::string& name) {
  auto plist = main_bundle::readHostDictionary(main_bundle::sourceResources() + "/" + name);
  EXPECT_TRUE(plist.has_value()) << name;
  return plist.value_or(Dictionary());
}

TEST(ResourcesTest, InfoPlistNamesTheMainPaneAndTheLibrary) {
  Dictionary info = sourcePlist("Info.plist");
  ASSERT_NE(info.find("NSPrincipalClass"), nullptr);
  EXPECT_EQ(*info.find("NSPrincipalClass"), Value("VLRPListController"));
  EXPECT_TRUE(platform::ClassRegistry::isSubclassOf("VLRPListController", "VLRSettingsController"));
  EXPECT_EQ(*info.find("CFBundleExecutable"), Value("VelloriaSettings"));
  EXPECT_EQ(*info.find("CFBundleDevelopmentRegion"), Value("en"));
}

TEST(ResourcesTest, SettingsEntryOpensTheBundleAsAController) {
  Dictionary entryFile = sourcePlist("VelloriaSettings.plist");
  ASSERT_NE(entryFile.find("entry"), nullptr);
  const Dictionary& entry = *entryFile.find("entry")->dictionary();
  EXPECT_EQ(*entry.find("cell"), Value("PSLinkCell"));
  EXPECT_EQ(*entry.find("bundle"), Value("VelloriaSettings"));
  EXPECT_EQ(*entry.find("isController"), Value(true));
  EXPECT_EQ(*entry.find("label"), Value("Velloria"));
}

TEST(ResourcesTest, EveryColourSettingHasAUniqueKeyAndAValidDefault) {
  Dictionary settings = sourcePlist("ColorSettings.plist");
  std::set<std::string> keys;
  for (const Value& item : *settings.find("items")->array()) {
    const Dictionary& row = *item.dictionary();
    if (*row.find("cell") == Value("PSGroupCell")) continue;
    ASSERT_NE(row.find("key"), nullptr);
    ASSERT_TRUE(row.find("key")->isString());
    EXPECT_TRUE(keys.insert(*row.find("key")->string()).second) << *row.find("key")->string();
    ASSERT_NE(row.find("default"), nullptr);
    const std::string& hex = *row.find("default")->string();
    uint32_t rgb = 0;
    EXPECT_EQ(hextoint(hex.c_str(), &rgb), 1) << hex;
    EXPECT_EQ(hex.size(), 6u) << hex;
    EXPECT_EQ(*row.find("valuesDataSource"), Value("colors"));
    EXPECT_EQ(*row.find("titlesDataSource"), Value("colorTitles"));
  }
  EXPECT_GE(keys.size(), 4u);
}

// The texts a plist shows: labels, footers and choice titles.
void collectTexts(const Dictionary& plist, std::set<std::string>& texts) {
  for (const Value& item : *plist.find("items")->array()) {
    const Dictionary& row = *item.dictionary();
    for (const char* field : {"label", "footerText"}) {
      if (const Value* text = row.find(field)) texts.insert(*text->string());
    }
    if (const Value* titles = row.find("validTitles")) {
      for (const Value& title : *titles->array()) texts.insert(*title.string());
    }
  }
}

void expectEveryLocalisationHas(const std::string& table, const std::set<std::string>& keys) {
  for (const char* lproj : {"en", "zh-Hans"}) {
    auto strings = main_bundle::sourceStringTable(lproj, table);
    ASSERT_TRUE(strings.has_value()) << lproj << "/" << table;
    for (const std::string& key : keys) {
      const Value* text = strings->find(key);
      EXPECT_TRUE(text && text->isString() && !text->string()->empty()) << lproj << "/" << table << ": " << key;
    }
  }
}

TEST(ResourcesTest, MainTableHasEveryTextOfTheMainTablePanes) {
  // What the panes' code shows, from its own list, and what the plists show.
  std::set<std::string> texts(velloria::text::kMainTable.begin(), velloria::text::kMainTable.end());
  collectTexts(sourcePlist("Main.plist"), texts);
  collectTexts(sourcePlist("Instructions.plist"), texts);
  expectEveryLocalisationHas("Main", texts);
}

TEST(ResourcesTest, ColorSettingsTableHasEveryColourName) {
  std::set<std::string> texts;
  for (const auto& color : velloria::text::kBuiltInColors) texts.insert(color.titleKey);
  collectTexts(sourcePlist("ColorSettings.plist"), texts);
  expectEveryLocalisationHas("ColorSettings", texts);
}

TEST(ResourcesTest, MainRowsOpenThePanesOfTheSettings) {
  std::set<std::string> details;
  std::string calendarDetail;
  const Dictionary main = sourcePlist("Main.plist");
  for (const Value& item : *main.find("items")->array()) {
    const Dictionary& row = *item.dictionary();
    if (const Value* detail = row.find("detail")) details.insert(*detail->string());
    if (const Value* id = row.find("id"); id && *id == Value("selectcalendar"))
      calendarDetail = *row.find("detail")->string();
  }
  EXPECT_EQ(calendarDetail, "VLRPCalendarsController");
  for (const char* pane : {"VLRPColorsListController", "VLRPCustomizeColorsController",
                           "VLRPCustomizeHolidaysController", "VLRPInstructionController"})
    EXPECT_EQ(details.count(pane), 1u) << pane;
}

}  // namespace
