// The instructions pane: the rows of "Instructions", built once.
#include <gtest/gtest.h>

#include "MainBundleFixture.h"
#include "VLRPInstructionController.h"

namespace {

TEST(InstructionPaneTest, ShowsTheInstructionsRowsWithTheirTexts) {
  main_bundle::MainBundleFixture bundle;
  VLRPInstructionController pane;
  auto rows = pane.specifiers();
  ASSERT_NE(rows, nullptr);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"Showing the Widget", "Open Notification Center, tap Edit and add Velloria to the Today view."},
      {"Choosing Colours",
       "Pick a colour for each part of the widget under Colour Scheme. Add colours of your own under Custom "
       "Colours; deleting one puts every setting that used it back to its default."},
      {"Adding Holidays",
       "Under Custom Holidays, choose solar or lunar, type a name of up to three characters and the date, then "
       "close the keyboard to save it."},
      {"Choosing Calendars",
       "Under Select Calendars, switch off the calendars whose events the widget should not show. The row is "
       "available when the device has calendars."}};
  ASSERT_EQ(rows->size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ((*rows)[i]->name(), expected[i].first);
    EXPECT_EQ((*rows)[i]->propertyForKey("footerText"), platform::Value(expected[i].second));
  }
}

TEST(InstructionPaneTest, SecondCallReturnsTheSameRowsWithoutLoadingAgain) {
  main_bundle::MainBundleFixture bundle;
  VLRPInstructionController pane;
  auto rows = pane.specifiers();
  std::filesystem::remove(bundle.bundleFile("Instructions.plist"));
  EXPECT_EQ(pane.specifiers(), rows);
  EXPECT_FALSE(rows->empty());

  VLRPInstructionController fresh;
  auto none = fresh.specifiers();
  EXPECT_TRUE(!none || none->empty());
}

}  // namespace
