// The custom holidays editor driven as the settings host drives it.
#include "Foundation/NSNotificationCenter.h"
#include "PaneHarness.h"
#include "VLRPCustomizeHolidaysController.h"

namespace {

using pane_test::alertCount;
using pane_test::expectErrorAlert;
using platform::Array;
using platform::Dictionary;
using platform::Value;
using Editor = pane_test::ShownPane<VLRPCustomizeHolidaysController>;

constexpr long kType = 1, kName = 3, kDate = 4, kSolarGroupRow = 5;

class HolidaysEditorTest : public ::testing::Test {
 protected:
  pane_test::PaneHarness harness;

  Dictionary solar() const { return harness.widgetDictionary("solar-festivals"); }
  Dictionary lunar() const { return harness.widgetDictionary("lunar-festivals"); }
  // Chooses the holiday type through the type row's setter, as the host does.
  static void choose(Editor& e, int type) {
    ASSERT_TRUE(PSListController::storeValueForSpecifier(*e.pane->specifierAtIndex(kType), Value(type)));
  }
  static Value typeOfRow(const Editor& e, long index) {
    const Dictionary* info = e.pane->specifierAtIndex(index)->userInfo().dictionary();
    return info && info->size() == 1 && info->find("_holiday_type") ? *info->find("_holiday_type") : Value();
  }
};

TEST_F(HolidaysEditorTest, FormRowsAndAlwaysPresentGroups) {
  Editor e;
  ASSERT_EQ(e.rowCount(), 7);
  EXPECT_EQ(e.name(0), "holiday form");
  auto type = e.pane->specifierAtIndex(kType);
  EXPECT_EQ(type->cellType(), PSSegmentCell);
  EXPECT_EQ(type->name(), "holiday type");
  EXPECT_EQ(type->values(), Value(Array{0, 1}));
  EXPECT_EQ(type->titles(), Value(Array{"solar holiday", "lunar holiday"}));
  EXPECT_EQ(PSListController::valueForSpecifier(*type), Value(0)) << "untouched, the type reads solar";
  auto hint = e.pane->specifierAtIndex(2);
  EXPECT_EQ(hint->cellType(), PSGroupCell);
  EXPECT_EQ(hint->name(), "");
  EXPECT_EQ(hint->propertyForKey("footerText"), Value("holiday date format hint"));
  EXPECT_EQ(e.name(kName), "holiday name label");
  EXPECT_EQ(e.pane->specifierAtIndex(kName)->keyboardType(), UIKeyboardTypeDefault);
  auto date = e.pane->specifierAtIndex(kDate);
  EXPECT_EQ(date->name(), "holiday value label");
  EXPECT_EQ(date->cellType(), PSEditTextCell);
  EXPECT_EQ(date->editPaneClass(), "PSTextEditingPane");
  EXPECT_EQ(date->keyboardType(), UIKeyboardTypeNumberPad);
  EXPECT_EQ(date->autoCapsType(), 0);
  EXPECT_EQ(date->autoCorrectionType(), 1);
  EXPECT_EQ(e.name(5), "solar holiday");
  EXPECT_EQ(e.name(6), "lunar holiday");
  EXPECT_EQ(e.pane->numberOfGroups(), 4);
}

TEST_F(HolidaysEditorTest, StoredHolidaysInFileOrder) {
  harness.writeWidgetData(Dictionary{{"solar-festivals", Dictionary{{"1225", "Xms"}, {"0101", "NY"}}},
                                     {"lunar-festivals", Dictionary{{"0815", "Mid"}}}});
  Editor e;
  ASSERT_EQ(e.rowCount(), 10);
  EXPECT_EQ(e.name(6), "1225");
  EXPECT_EQ(e.name(7), "0101");
  EXPECT_EQ(e.name(8), "lunar holiday");
  EXPECT_EQ(e.name(9), "0815");
  EXPECT_EQ(typeOfRow(e, 6), Value(0));
  EXPECT_EQ(typeOfRow(e, 9), Value(1));
  auto row = e.pane->specifierAtIndex(9);
  EXPECT_EQ(row->cellType(), PSTitleValueCell);
  EXPECT_EQ(PSListController::valueForSpecifier(*row), Value("Mid"));
  EXPECT_EQ(PSListController::valueForSpecifier(*e.pane->specifierAtIndex(7)), Value("NY"));
}

TEST_F(HolidaysEditorTest, FestivalsThatAreNoDictionaryReadEmptyAndAreReplaced) {
  harness.writeWidgetData(Dictionary{{"solar-festivals", "junk"}, {"extra-colors", Dictionary{{"a", "1"}}}});
  Editor e;
  EXPECT_EQ(e.rowCount(), 7);
  e.enter(kName, "Day", kDate, "0301");
  EXPECT_EQ(solar(), (Dictionary{{"0301", "Day"}}));
  EXPECT_EQ(lunar(), Dictionary());
  EXPECT_EQ(harness.widgetDictionary("extra-colors"), (Dictionary{{"a", "1"}}));
}

TEST_F(HolidaysEditorTest, UntouchedTypeAddsSolarAtTheEndOfItsGroup) {
  harness.writeWidgetData(Dictionary{{"solar-festivals", Dictionary{{"0101", "NY"}}},
                                     {"lunar-festivals", Dictionary{{"0115", "Lan"}}}});
  Editor e;
  e.focus(kName);
  EXPECT_TRUE(e.rightIsDone());
  EXPECT_EQ(e.right()->action(), "_editDone");
  e.type(kName, " May ");
  e.focus(kDate);
  e.type(kDate, " 0501\t");
  e.dismiss();
  EXPECT_EQ(alertCount(), 0u);
  EXPECT_EQ(e.right(), e.editButton);
  EXPECT_EQ(e.text(kName), std::nullopt);
  EXPECT_EQ(e.text(kDate), std::nullopt);
  EXPECT_EQ(solar(), (Dictionary{{"0101", "NY"}, {"0501", "May"}}));
  EXPECT_EQ(lunar(), (Dictionary{{"0115", "Lan"}}));
  ASSERT_EQ(e.rowCount(), 10);
  EXPECT_EQ(e.name(7), "0501");
  EXPECT_EQ(typeOfRow(e, 7), Value(0));
  EXPECT_EQ(e.name(8), "lunar holiday");
}

TEST_F(HolidaysEditorTest, NamesAreTrimmedThenCutToThreeUnits) {
  Editor e;
  const std::pair<const char*, const char*> cases[] = {
      {"Spring", "Spr"},
      {"New", "New"},
      {" \u00A0ab\u3000 ", "ab"},
      {"\u4E2D\u79CB\u8282\u5FEB", "\u4E2D\u79CB\u8282"},
      {"ab\U0001F389", "ab"},        // the cut would split the emoji's surrogate pair
      {"a\U0001F389bc", "a\U0001F389"},
  };
  int day = 10;
  for (const auto& [typed, stored] : cases) {
    std::string date = "01" + std::to_string(day++);
    e.enter(kName, typed, kDate, date);
    EXPECT_EQ(pane_test::at(solar(), date), Value(stored)) << typed;
  }
  EXPECT_EQ(alertCount(), 0u);
}

TEST_F(HolidaysEditorTest, EmptyFields) {
  Editor e;
  e.enter(kName, "  ", kDate, "\t");
  EXPECT_EQ(alertCount(), 0u) << "both empty: silent";
  EXPECT_EQ(e.right(), e.editButton);

  e.enter(kName, "Day", kDate, " ");
  expectErrorAlert("empty holiday name or date");
  EXPECT_EQ(e.text(kName), "Day");
  EXPECT_EQ(e.text(kDate), " ");
  e.type(kName, "");
  e.type(kDate, "0202");
  e.focus(kDate);
  e.dismiss();
  expectErrorAlert("empty holiday name or date");
  EXPECT_EQ(e.text(kDate), "0202");
  EXPECT_FALSE(harness.widgetData());
}

TEST_F(HolidaysEditorTest, DuplicateSolarDateRefocusesTheDateField) {
  harness.writeWidgetData(Dictionary{{"solar-festivals", Dictionary{{"0501", "Lab"}}}});
  Editor e;
  e.enter(kName, "Other", kDate, "0501");
  expectErrorAlert("duplicated holiday date");
  EXPECT_EQ(e.text(kName), "Other");
  EXPECT_EQ(e.text(kDate), std::nullopt);
  platform::RunLoop::drain();
  EXPECT_TRUE(e.cell(kDate)->isFirstResponder());
  EXPECT_TRUE(e.rightIsDone());
  EXPECT_EQ(solar(), (Dictionary{{"0501", "Lab"}}));
}

TEST_F(HolidaysEditorTest, DuplicateLunarDateLeavesTheFieldUnfocused) {
  harness.writeWidgetData(Dictionary{{"lunar-festivals", Dictionary{{"0101", "Spr"}}}});
  Editor e;
  choose(e, 1);
  e.enter(kName, "Other", kDate, "0101");
  expectErrorAlert("duplicated holiday date");
  EXPECT_EQ(e.text(kDate), std::nullopt);
  platform::RunLoop::drain();
  EXPECT_EQ(UIResponder::firstResponder(), nullptr);
  EXPECT_EQ(e.right(), e.editButton);
  EXPECT_EQ(lunar(), (Dictionary{{"0101", "Spr"}}));
}

TEST_F(HolidaysEditorTest, SameDateOnceSolarOnceLunar) {
  Editor e;
  e.enter(kName, "Sun", kDate, "0909");
  choose(e, 1);
  EXPECT_EQ(PSListController::valueForSpecifier(*e.pane->specifierAtIndex(kType)), Value(1));
  e.enter(kName, "Moon", kDate, "0909");
  EXPECT_EQ(alertCount(), 0u);
  EXPECT_EQ(solar(), (Dictionary{{"0909", "Sun"}}));
  EXPECT_EQ(lunar(), (Dictionary{{"0909", "Moo"}}));
  ASSERT_EQ(e.rowCount(), 9);
  EXPECT_EQ(e.name(6), "0909");
  EXPECT_EQ(typeOfRow(e, 6), Value(0));
  EXPECT_EQ(e.name(8), "0909");
  EXPECT_EQ(typeOfRow(e, 8), Value(1));
  choose(e, 0);
  e.enter(kName, "Again", kDate, "0909");
  expectErrorAlert("duplicated holiday date");
}

TEST_F(HolidaysEditorTest, DeletingTheLastHolidayKeepsItsGroup) {
  harness.writeWidgetData(Dictionary{{"solar-festivals", Dictionary{{"0101", "NY"}}},
                                     {"extra-colors", Dictionary{{"c", "1"}}},
                                     {"widget", 3}});
  Editor e;
  e.pane->setEditable(true);
  EXPECT_TRUE(e.pane->performDeletionActionForSpecifier(e.pane->specifierAtIndex(6).get()));
  ASSERT_EQ(e.rowCount(), 7);
  EXPECT_EQ(e.name(kSolarGroupRow), "solar holiday");
  Dictionary file = harness.widgetFile();
  EXPECT_EQ(pane_test::at(file, "solar-festivals"), Value(Dictionary()));
  EXPECT_EQ(pane_test::at(file, "lunar-festivals"), Value(Dictionary())) << "both keys are written";
  EXPECT_EQ(pane_test::at(file, "extra-colors"), Value(Dictionary{{"c", "1"}}));
  EXPECT_EQ(pane_test::at(file, "widget"), Value(3));

  e.enter(kName, "Nu", kDate, "0102");
  ASSERT_EQ(e.rowCount(), 8);
  EXPECT_EQ(e.name(6), "0102");
}

TEST_F(HolidaysEditorTest, DeletionOfRowsWithoutOrWithStrangeType) {
  harness.writeWidgetData(Dictionary{{"solar-festivals", Dictionary{{"0101", "NY"}}},
                                     {"lunar-festivals", Dictionary{{"0101", "Spr"}}}});
  Editor e;
  auto bare = PSSpecifier::preferenceSpecifierNamed("0101", e.pane.get(), "", "", "", PSTitleValueCell, "");
  EXPECT_EQ(e.pane->_holidaysForSpecifier(bare.get()), &e.pane->solarHolidays());
  auto strange = e.pane->_holidaySpecifierWithDate("0101", 2);
  EXPECT_EQ(e.pane->_holidaysForSpecifier(strange.get()), nullptr);
  EXPECT_EQ(e.pane->holidayForSpecifier(strange.get()), Value());
  EXPECT_FALSE(e.pane->performDeletionActionForSpecifier(strange.get())) << "not one of the pane's rows";
  EXPECT_EQ(solar().size() + lunar().size(), 2u);
  e.pane->performDeletionActionForSpecifier(bare.get());
  EXPECT_EQ(solar(), Dictionary()) << "a row without a type is handled as solar";
  EXPECT_EQ(lunar(), (Dictionary{{"0101", "Spr"}}));
}

TEST_F(HolidaysEditorTest, TwoWillShowsStillLeadBackToEdit) {
  Editor e;
  e.focus(kName);
  e.focus(kDate);
  auto center = NSNotificationCenter::defaultCenter();
  center->postNotificationName(UIKeyboardWillShowNotification);
  EXPECT_EQ(e.pane->editButton(), e.editButton);
  e.dismiss();
  EXPECT_EQ(e.right(), e.editButton);
}

TEST_F(HolidaysEditorTest, HideWhileFocusedChangesNothing) {
  Editor e;
  e.focus(kDate);
  e.type(kName, "X");
  e.type(kDate, "0303");
  NSNotificationCenter::defaultCenter()->postNotificationName(UIKeyboardDidHideNotification);
  EXPECT_TRUE(e.rightIsDone());
  EXPECT_EQ(e.text(kName), "X");
  EXPECT_FALSE(harness.widgetData());
}

TEST_F(HolidaysEditorTest, DoneResignsAndTheHideCommits) {
  Editor e;
  e.pane->setEditable(true);
  e.focus(kName);
  e.type(kName, "Fin");
  e.type(kDate, "1231");
  e.right()->tap();
  EXPECT_FALSE(e.pane->editable());
  EXPECT_EQ(e.right(), e.editButton);
  platform::RunLoop::drain();
  EXPECT_EQ(solar(), (Dictionary{{"1231", "Fin"}}));
}

TEST_F(HolidaysEditorTest, TypeChoiceKeepsACopy) {
  VLRPCustomizeHolidaysController pane;
  EXPECT_EQ(pane.holidayType(), Value(0));
  Value one(1);
  pane.setHolidayType(one);
  one = Value(0);
  EXPECT_EQ(pane.holidayType(), Value(1));
}

TEST_F(HolidaysEditorTest, UnstorableTextIsRefused) {
  Editor e;
  e.enter(kName, "A\x02", kDate, "0404");
  expectErrorAlert("text cannot be stored");
  EXPECT_EQ(e.text(kName), std::nullopt);
  EXPECT_EQ(e.text(kDate), "0404");
  EXPECT_FALSE(harness.widgetData());
  e.type(kName, "Ok");
  e.focus(kName);
  e.dismiss();
  EXPECT_EQ(solar(), (Dictionary{{"0404", "Ok"}}));
}

TEST_F(HolidaysEditorTest, TypedTextIsJudgedAsItWouldBeStored) {
  Editor e;
  e.enter(kName, "Fes\x01tival", kDate, "0101");  // stored as its first three characters
  EXPECT_EQ(alertCount(), 0u);
  e.enter(kName, "A\x01", kDate, "0101");  // the duplicate date is told; the name stays
  expectErrorAlert("duplicated holiday date");
  EXPECT_EQ(e.text(kName), "A\x01");
  e.type(kDate, "0202");
  e.dismiss();
  expectErrorAlert("text cannot be stored");
  EXPECT_EQ(e.text(kName), std::nullopt);
  EXPECT_TRUE(e.cell(kName)->isFirstResponder()) << "the refused field takes the focus again";
  EXPECT_EQ(e.text(kDate), "0202");
  EXPECT_EQ(solar(), (Dictionary{{"0101", "Fes"}}));
}

TEST_F(HolidaysEditorTest, HostileDatesAreStoredAsTyped) {
  std::string big(100 * 1024, '1');
  big[5] = '<';
  big[77] = '&';
  big += "]]>";
  Editor e;
  e.enter(kName, "<&>", kDate, big);
  e.enter(kName, "\U0001F600", kDate, "2\t2");
  EXPECT_EQ(solar(), (Dictionary{{big, "<&>"}, {"2\t2", "\U0001F600"}}));
}

}  // namespace
