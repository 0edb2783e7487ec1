// The colour scheme pane: its colour table and the rows bound to it.
#include "PaneHarness.h"
#include "Preferences/PSListItemsController.h"
#include "VLRPColorsListController.h"

namespace {

using platform::Array;
using platform::Dictionary;
using platform::Value;

class ColorsListTest : public ::testing::Test {
 protected:
  pane_test::PaneHarness harness;
};

const Array kBuiltInValues = {"FFFFFF", "A8A8AD", "FF00FF", "FF0000", "FFA500", "00BFFF",
                              "F0DC82", "66FF00", "9966CC", "00FFFF", "CD9575"};
const Array kBuiltInKeys = {"white",    "gray",         "pink",        "rose red", "orange",       "sky blue",
                            "light yellow", "apple green", "purple", "cyan", "antique brass"};

TEST_F(ColorsListTest, BuiltInColorsWithoutDataFile) {
  VLRPColorsListController pane;
  EXPECT_EQ(pane.colors(), kBuiltInValues);
  EXPECT_EQ(pane.colorTitles(), kBuiltInKeys);
}

TEST_F(ColorsListTest, TitlesComeFromTheColorSettingsTable) {
  harness.writeStringTable("ColorSettings", "\"white\" = \"Snow\";\n\"orange\" = \"Tangerine\";\n");
  harness.writeStringTable("Main", "\"rose red\" = \"Wrong table\";\n");
  VLRPColorsListController pane;
  EXPECT_EQ(pane.colorTitles()[0], Value("Snow"));
  EXPECT_EQ(pane.colorTitles()[3], Value("rose red")) << "a key the table lacks reads as itself";
  EXPECT_EQ(pane.colorTitles()[4], Value("Tangerine"));
}

TEST_F(ColorsListTest, CustomColorsFollowInFileOrderUnmerged) {
  harness.writeStringTable("ColorSettings", "\"white\" = \"Snow\";\n");
  harness.writeWidgetData(
      Dictionary{{"extra-colors", Dictionary{{"white", "FFFFFF"}, {"Ocean", "#0077BE"}, {"b", "not scanned at all"}}}});
  VLRPColorsListController pane;
  ASSERT_EQ(pane.colors().size(), 14u);
  ASSERT_EQ(pane.colorTitles().size(), 14u);
  EXPECT_EQ(pane.colorTitles()[0], Value("Snow"));
  EXPECT_EQ(pane.colorTitles()[11], Value("white")) << "a custom name is not looked up";
  EXPECT_EQ(pane.colors()[11], Value("FFFFFF"));
  EXPECT_EQ(pane.colorTitles()[12], Value("Ocean"));
  EXPECT_EQ(pane.colors()[12], Value("#0077BE"));
  EXPECT_EQ(pane.colors()[13], Value("not scanned at all"));
}

TEST_F(ColorsListTest, UnusableExtraColorsAddNothing) {
  harness.writeWidgetData(Dictionary{{"extra-colors", "FF0000"}});
  EXPECT_EQ(VLRPColorsListController().colors().size(), 11u);
  std::ofstream(harness.widgetDataFile()) << "<plist><dict><key>extra-colors</key>";
  EXPECT_EQ(VLRPColorsListController().colors().size(), 11u);
}

TEST_F(ColorsListTest, TableIsNotRefreshedWhileThePaneLives) {
  VLRPColorsListController pane;
  harness.writeWidgetData(Dictionary{{"extra-colors", Dictionary{{"New", "123456"}}}});
  pane.specifiers();
  EXPECT_EQ(pane.colors().size(), 11u);
  EXPECT_EQ(VLRPColorsListController().colors().size(), 12u);
}

TEST_F(ColorsListTest, ColorRowsOfferTheTableAndStoreTheChoice) {
  harness.writeWidgetData(Dictionary{{"extra-colors", Dictionary{{"Mint", "98FF98"}}}});
  auto pane = std::make_shared<VLRPColorsListController>();
  auto rows = pane->specifiers();
  ASSERT_TRUE(rows && !rows->empty());
  EXPECT_EQ(pane->specifiers(), rows) << "loaded once";
  std::shared_ptr<PSSpecifier> today = pane->specifierForID("today color");
  for (const auto& row : *rows)
    if (row->propertyForKey("key") == Value("todayColor")) today = row;
  ASSERT_TRUE(today);
  Array values = PSListController::valuesForSpecifier(*today);
  Array titles = PSListController::titlesForSpecifier(*today);
  ASSERT_EQ(values.size(), 12u);
  EXPECT_EQ(values[11], Value("98FF98"));
  EXPECT_EQ(titles[11], Value("Mint"));

  // Choosing a colour in the list-items pane stores its hex string.
  EXPECT_TRUE(PSListController::storeValueForSpecifier(*today, values[11]));
  EXPECT_EQ(pane_test::at(harness.domain(), "todayColor"), Value("98FF98"));
}

}  // namespace
