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
  ASSERT_FALSE(rows->empty());

  auto plist = main_bundle::readHostDictionary(bundle.bundleFile("Instructions.plist"));
  auto table = main_bundle::sourceStringTable("en", "Main");
  ASSERT_TRUE(plist && table);
  const platform::Array& items = *plist->find("items")->array();
  ASSERT_EQ(rows->size(), items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    const platform::Dictionary& item = *items[i].dictionary();
    EXPECT_EQ(platform::Value((*rows)[i]->name()), *table->find(*item.find("label")->string()));
    if (const platform::Value* footer = item.find("footerText")) {
      EXPECT_EQ((*rows)[i]->propertyForKey("footerText"), *table->find(*footer->string()));
    }
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
