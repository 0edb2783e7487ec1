// The class registry and selector dispatch that plists bind through.
#include "FrameworkFixture.h"

namespace framework_test {
namespace {

TEST(SelectorBinding, UnknownClassAndSelectorAreErrorsNamingThem) {
  try {
    platform::ClassRegistry::create("NoSuchPane");
    FAIL() << "an unknown class was created";
  } catch (const platform::BindingError& e) {
    EXPECT_NE(std::string(e.what()).find("NoSuchPane"), std::string::npos);
  }
  TestPane pane;
  try {
    platform::performSelector(pane, "noSuchSelector:");
    FAIL() << "an unknown selector was sent";
  } catch (const platform::BindingError& e) {
    EXPECT_NE(std::string(e.what()).find("noSuchSelector:"), std::string::npos);
    EXPECT_NE(std::string(e.what()).find("FrameworkTestPane"), std::string::npos);
  }
}

TEST(SelectorBinding, ClassesAreCreatedByNameAndKnowTheirAncestors) {
  auto object = platform::ClassRegistry::create("FrameworkTestPane");
  ASSERT_NE(std::dynamic_pointer_cast<TestPane>(object), nullptr);
  EXPECT_EQ(platform::ClassRegistry::classNameOf(*object), "FrameworkTestPane");
  EXPECT_TRUE(platform::ClassRegistry::isSubclassOf("FrameworkTestPane", "PSListController"));
  EXPECT_FALSE(platform::ClassRegistry::isSubclassOf("PSListController", "FrameworkTestPane"));
  EXPECT_TRUE(platform::ClassRegistry::isSubclassOf("PSListItemsController", "PSListController"));
}

TEST(SelectorBinding, EverySupportedSignatureIsCalledWithItsArguments) {
  TestPane pane;
  auto row = PSSpecifier::preferenceSpecifierNamed("Row", &pane, "", "", "", PSTitleValueCell, "");
  EXPECT_EQ(platform::performSelector(pane, "version"), platform::Value("2.0"));
  EXPECT_EQ(platform::performSelector(pane, "nameOf:", {}, row.get()), platform::Value("Row"));
  EXPECT_TRUE(platform::performSelector(pane, "setThing:specifier:", platform::Value(7), row.get()).isNil());
  platform::performSelector(pane, "setPlain:", platform::Value("x"), row.get());
  ASSERT_EQ(pane.stored.size(), 2u);
  EXPECT_EQ(pane.stored[0], platform::Value(7));
  EXPECT_EQ(pane.storedRows[0], row.get());
  EXPECT_EQ(pane.stored[1], platform::Value("x"));
  platform::performSelector(pane, "press");
  platform::performSelector(pane, "pressRow:", {}, row.get());
  EXPECT_EQ(pane.presses, 1);
  ASSERT_EQ(pane.pressedRows.size(), 1u);
  EXPECT_EQ(pane.pressedRows[0], row.get());
}

TEST(SelectorBinding, InheritedSelectorsDispatchVirtually) {
  // A subclass that overrides the per-row store is reached through the
  // framework's selector, as the inherited table names it.
  struct Overriding : TestPane {
    void setPreferenceValue(const platform::Value& value, PSSpecifier*) override { seen = value; }
    platform::Value seen;
  };
  static const platform::ClassRegistrar<Overriding> registrar("FrameworkOverridingPane", "FrameworkTestPane");
  Overriding pane;
  EXPECT_TRUE(platform::respondsToSelector(pane, "setPreferenceValue:specifier:"));
  EXPECT_TRUE(platform::respondsToSelector(pane, "press"));
  platform::performSelector(pane, "setPreferenceValue:specifier:", platform::Value(3));
  EXPECT_EQ(pane.seen, platform::Value(3));
}

TEST(SelectorBinding, UnregisteredSubclassesActAsTheirNearestRegisteredClass) {
  struct Unregistered : TestPane {};
  Unregistered pane;
  EXPECT_EQ(platform::ClassRegistry::classNameOf(pane), "FrameworkTestPane");
  EXPECT_EQ(platform::performSelector(pane, "version"), platform::Value("2.0"));
  struct Bare : PSListController {};
  Bare bare;
  EXPECT_EQ(platform::ClassRegistry::classNameOf(bare), "PSListController");
  EXPECT_FALSE(platform::respondsToSelector(bare, "version"));
  platform::Object plain;
  EXPECT_EQ(platform::ClassRegistry::classNameOf(plain), "");
  EXPECT_FALSE(platform::respondsToSelector(plain, "readPreferenceValue:"));
  EXPECT_THROW(platform::performSelector(plain, "readPreferenceValue:"), platform::BindingError);
}

}  // namespace
}  // namespace framework_test
