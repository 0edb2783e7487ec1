// The framework's per-row store and the list-items pane that chooses values.
#include "FrameworkFixture.h"
#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSUserDefaults.h"

namespace framework_test {
namespace {

using platform::Array;
using platform::Dictionary;
using platform::Value;

constexpr const char* kDomain = "com.example.framework";

std::string domainPath() { return "/var/mobile/Library/Preferences/" + std::string(kDomain) + ".plist"; }

class RowStore : public FrameworkTest {
 protected:
  // A device image has the preferences directory.
  RowStore() { root_.file(domainPath()); }

  std::shared_ptr<PSSpecifier> keyedRow(const std::string& key, Value fallback = {}) {
    auto row = PSSpecifier::preferenceSpecifierNamed("Row", pane.get(), "setPreferenceValue:specifier:",
                                                     "readPreferenceValue:", "", PSSegmentCell, "");
    row->setProperty(Value(kDomain), "defaults");
    row->setProperty(Value(key), "key");
    row->setProperty(std::move(fallback), "default");
    return row;
  }
  Dictionary fileContent() {
    return platform::readDictionaryFile(root_.file(domainPath())).value_or(Dictionary());
  }

  std::shared_ptr<TestPane> pane = std::make_shared<TestPane>();
};

TEST_F(RowStore, StoresUnderTheRowsKeyKeepingOtherKeys) {
  ASSERT_TRUE(platform::writePropertyListFile(root_.file(domainPath()), Value(Dictionary{{"other", "kept"}})));
  auto row = keyedRow("viewType", Value(0));
  EXPECT_EQ(pane->readPreferenceValue(row.get()), Value(0));  // the row's default while nothing is stored
  pane->setPreferenceValue(Value(1), row.get());
  EXPECT_EQ(fileContent(), (Dictionary{{"other", "kept"}, {"viewType", 1}}));
  EXPECT_EQ(pane->readPreferenceValue(row.get()), Value(1));
  EXPECT_EQ(PSListController::valueForSpecifier(*row), Value(1));
  pane->setPreferenceValue(Value(), row.get());  // nil removes the key
  EXPECT_EQ(fileContent(), (Dictionary{{"other", "kept"}}));
  EXPECT_EQ(pane->readPreferenceValue(row.get()), Value(0));
}

TEST_F(RowStore, RowsWithoutDomainOrKeyOrWithLiveObjectsStoreNothing) {
  auto noDomain = keyedRow("a");
  noDomain->removePropertyForKey("defaults");
  pane->setPreferenceValue(Value(1), noDomain.get());
  auto noKey = keyedRow("b");
  noKey->removePropertyForKey("key");
  pane->setPreferenceValue(Value(1), noKey.get());
  pane->setPreferenceValue(Value(std::make_shared<UISwitch>()), keyedRow("c").get());
  pane->setPreferenceValue(Value(platform::Array{1, Value(std::make_shared<UISwitch>())}), keyedRow("d").get());
  pane->setPreferenceValue(Value(1), nullptr);
  EXPECT_FALSE(NSUserDefaults::standardUserDefaults()->persistentDomainForName(kDomain).has_value());
  EXPECT_TRUE(fileContent().empty());
}

TEST_F(RowStore, PostNotificationArrivesAfterTheStoringTurn) {
  int heard = 0;
  platform::Object token;
  NSNotificationCenter::defaultCenter()->addObserver(&token, std::function<void()>([&] { ++heard; }),
                                                     "com.example.changed");
  auto row = keyedRow("k");
  row->setProperty(Value("com.example.changed"), "PostNotification");
  pane->setPreferenceValue(Value("v"), row.get());
  EXPECT_EQ(heard, 0);
  EXPECT_EQ(fileContent(), (Dictionary{{"k", "v"}}));
  platform::RunLoop::drain();
  EXPECT_EQ(heard, 1);
  NSNotificationCenter::defaultCenter()->removeObserver(&token);
}

TEST_F(RowStore, ListItemsPaneChoosesThroughTheParentRowsSetter) {
  // Values and titles from data sources, one without and one with the row.
  auto parentRow = PSSpecifier::preferenceSpecifierNamed("Background", pane.get(), "setThing:specifier:", "nameOf:",
                                                         "", PSLinkListCell, "");
  parentRow->setValuesDataSource("colors");
  parentRow->setTitlesDataSource("colorTitles:");
  pane->insertSpecifier(parentRow, 0, false);
  auto items = std::dynamic_pointer_cast<PSListItemsController>(pane->detailControllerForSpecifier(parentRow));
  ASSERT_NE(items, nullptr);
  auto rows = items->specifiers();
  ASSERT_EQ(rows->size(), 4u);
  EXPECT_EQ((*rows)[0]->cellType(), PSGroupCell);
  EXPECT_EQ((*rows)[0]->name(), "Background");
  EXPECT_EQ((*rows)[2]->name(), "green");
  EXPECT_EQ((*rows)[2]->cellType(), PSListItemCell);
  EXPECT_EQ(items->specifiers(), rows);

  EXPECT_TRUE(items->listItemSelected(3));
  ASSERT_EQ(pane->stored.size(), 1u);
  EXPECT_EQ(pane->stored[0], Value("0000FF"));
  EXPECT_EQ(pane->storedRows[0], parentRow.get());
  EXPECT_FALSE(items->listItemSelected(0));  // the group row
  EXPECT_FALSE(items->listItemSelected(9));
  EXPECT_EQ(pane->stored.size(), 1u);
}

TEST_F(RowStore, ListItemsPaneChecksTheStoredValue) {
  auto parentRow = keyedRow("bg", Value("00FF00"));
  parentRow->setCellType(PSLinkListCell);
  parentRow->setValues(Value(Array{"FF0000", "00FF00", 7}), Value(Array{"red"}));
  PSListItemsController items;
  items.setSpecifier(parentRow);
  auto rows = items.specifiers();
  ASSERT_EQ(rows->size(), 4u);
  EXPECT_EQ((*rows)[1]->name(), "red");
  EXPECT_EQ((*rows)[2]->name(), "00FF00");  // no title: the value itself
  EXPECT_EQ((*rows)[3]->name(), "7");
  EXPECT_TRUE(items.isChecked(2));
  EXPECT_FALSE(items.isChecked(1));
  ASSERT_TRUE(items.listItemSelected(1));
  EXPECT_TRUE(items.isChecked(1));
  EXPECT_FALSE(items.isChecked(2));
  EXPECT_EQ(fileContent(), (Dictionary{{"bg", "FF0000"}}));
}

TEST_F(RowStore, ListItemsPaneWithoutParentRowIsEmpty) {
  PSListItemsController items;
  EXPECT_TRUE(items.specifiers()->empty());
  EXPECT_FALSE(items.isChecked(0));
}

}  // namespace
}  // namespace framework_test
