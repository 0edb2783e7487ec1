// The calendars pane: one switch per event calendar, the choice stored under
// "calendars" of the preference domain.
#include "PaneHarness.h"
#include "VLRPCalendarsController.h"

namespace {

using platform::Array;
using platform::Dictionary;
using platform::Value;

class CalendarsPaneTest : public ::testing::Test {
 protected:
  pane_test::PaneHarness harness;

  void SetUp() override {
    harness.addCalendar("a-home.ics", "Home", "ID-HOME");
    harness.addCalendar("b-work.ics", "Work", "ID-WORK");
    harness.addCalendar("c-home2.ics", "Home", "ID-HOME-2");
  }

  // The host showing the pane: switch cells whose state is the getter's.
  static std::shared_ptr<VLRPCalendarsController> show() {
    auto pane = std::make_shared<VLRPCalendarsController>();
    for (const auto& row : *pane->specifiers()) {
      auto cell = PSTableCell::cellForSpecifier(*row);
      if (row->cellType() == PSSwitchCell) cell->setValue(PSListController::valueForSpecifier(*row));
    }
    return pane;
  }
  // The user flips the switch of a row: the new state is set, then the setter runs.
  static void flip(VLRPCalendarsController& pane, long index, bool on) {
    auto row = pane.specifierAtIndex(index);
    row->propertyForKey("control").objectAs<UISwitch>()->setOn(on);
    ASSERT_TRUE(PSListController::storeValueForSpecifier(*row, Value(on)));
  }
  static Value shows(VLRPCalendarsController& pane, long index) {
    return PSListController::valueForSpecifier(*pane.specifierAtIndex(index));
  }
  Value stored() const {
    Dictionary domain = harness.domain();
    return pane_test::at(domain, "calendars");
  }
};

TEST_F(CalendarsPaneTest, OneSwitchPerCalendarThenTheFooter) {
  auto pane = show();
  ASSERT_EQ(pane->specifiers()->size(), 4u);
  const char* ids[] = {"ID-HOME", "ID-WORK", "ID-HOME-2"};
  const char* titles[] = {"Home", "Work", "Home"};
  for (long i = 0; i < 3; ++i) {
    auto row = pane->specifierAtIndex(i);
    EXPECT_EQ(row->cellType(), PSSwitchCell);
    EXPECT_EQ(row->name(), titles[i]);
    EXPECT_EQ(row->propertyForKey("id"), Value(ids[i]));
    EXPECT_EQ(row->setter(), "setShowsCalendar:specifier:");
    EXPECT_EQ(row->getter(), "showsCalendarWithSpecifier:");
    EXPECT_EQ(shows(*pane, i), Value(true)) << "no stored choice: every calendar shown";
  }
  auto footer = pane->specifierAtIndex(3);
  EXPECT_EQ(footer->cellType(), PSGroupCell);
  EXPECT_EQ(footer->name(), "");
  EXPECT_EQ(footer->propertyForKey("footerText"), Value("calendar settings footer"));
  EXPECT_EQ(pane->numberOfGroups(), 2);
  EXPECT_EQ(pane->specifiers(), pane->specifiers());
}

TEST_F(CalendarsPaneTest, NoCalendarsLeavesOnlyTheFooter) {
  pane_test::PaneHarness empty;
  VLRPCalendarsController pane;
  ASSERT_EQ(pane.specifiers()->size(), 1u);
  EXPECT_EQ(pane.specifierAtIndex(0)->propertyForKey("footerText"), Value("calendar settings footer"));
}

TEST_F(CalendarsPaneTest, FirstFlipStoresEverySwitchThatIsOn) {
  harness.writeDomain(Dictionary{{"textColor", "FFFFFF"}});
  auto pane = show();
  flip(*pane, 1, false);
  EXPECT_EQ(stored(), Value(Array{"ID-HOME", "ID-HOME-2"}));
  EXPECT_EQ(shows(*pane, 1), Value(false));
  EXPECT_EQ(shows(*pane, 2), Value(true)) << "two calendars of one title, told apart by id";
  EXPECT_EQ(pane_test::at(harness.domain(), "textColor"), Value("FFFFFF"));
  flip(*pane, 1, true);
  EXPECT_EQ(stored(), Value(Array{"ID-HOME", "ID-WORK", "ID-HOME-2"})) << "row order, not flip order";
}

TEST_F(CalendarsPaneTest, AllOffStoresAnEmptyArrayThatReadsHidden) {
  auto pane = show();
  for (long i = 0; i < 3; ++i) flip(*pane, i, false);
  EXPECT_EQ(stored(), Value(Array{}));
  for (long i = 0; i < 3; ++i) EXPECT_EQ(shows(*pane, i), Value(false));
}

TEST_F(CalendarsPaneTest, AFlipDropsCalendarsThatNoLongerExist) {
  harness.writeDomain(Dictionary{{"calendars", Array{"ID-GONE", "ID-WORK"}}});
  auto pane = show();
  EXPECT_EQ(shows(*pane, 0), Value(false));
  EXPECT_EQ(shows(*pane, 1), Value(true));
  EXPECT_EQ(stored(), Value(Array{"ID-GONE", "ID-WORK"})) << "kept until the next flip";
  flip(*pane, 0, true);
  EXPECT_EQ(stored(), Value(Array{"ID-HOME", "ID-WORK"}));
}

TEST_F(CalendarsPaneTest, ARowWithoutSwitchIsStoredAsHidden) {
  auto pane = show();
  pane->specifierAtIndex(2)->setProperty(Value(), "control");
  flip(*pane, 0, true);
  EXPECT_EQ(stored(), Value(Array{"ID-HOME", "ID-WORK"}));
  EXPECT_EQ(shows(*pane, 2), Value(false));
}

TEST_F(CalendarsPaneTest, StoredValueThatIsNoArrayOfStringsReadsAsAbsent) {
  for (Value odd : {Value("ID-WORK"), Value(Array{"ID-WORK", 7}), Value(Dictionary{{"ID-WORK", true}})}) {
    harness.writeDomain(Dictionary{{"calendars", odd}});
    auto pane = show();
    for (long i = 0; i < 3; ++i) EXPECT_EQ(shows(*pane, i), Value(true));
    flip(*pane, 1, false);
    EXPECT_EQ(stored(), Value(Array{"ID-HOME", "ID-HOME-2"}));
  }
}

TEST_F(CalendarsPaneTest, UnreadablePreferenceFileShowsEveryCalendar) {
  std::ofstream(harness.domainFile()) << "<?xml version=\"1.0\"?><plist><dict><key>calendars";
  auto pane = show();
  EXPECT_EQ(shows(*pane, 0), Value(true));
}

}  // namespace
