// The settings controller base: every store lands in the widget's preference
// domain as a read-modify-write of the whole domain.
#include <gtest/gtest.h>

#include "Preferences/PSSpecifier.h"
#include "MainBundleFixture.h"
#include "VLRSettingsController.h"

namespace {

using platform::Dictionary;
using platform::Value;

// Exposes the lazily kept user defaults.
class ProbeController : public VLRSettingsController {
 public:
  const std::shared_ptr<NSUserDefaults>& heldDefaults() const { return _userDefaults; }
};

std::shared_ptr<PSSpecifier> rowWithProperties(const Dictionary& properties) {
  auto row = PSSpecifier::preferenceSpecifierNamed("row", nullptr, "", "", "", PSSwitchCell, "");
  for (const auto& [key, value] : properties) row->setProperty(value, key);
  return row;
}

class SettingsControllerTest : public ::testing::Test {
 protected:
  main_bundle::MainBundleFixture bundle;
  ProbeController pane;
};

TEST_F(SettingsControllerTest, UserDefaultsAreFetchedOnFirstUseAndKept) {
  EXPECT_EQ(pane.heldDefaults(), nullptr);
  pane.setPreferenceValue(Value("FF0000"), std::string("todayColor"));
  ASSERT_NE(pane.heldDefaults(), nullptr);
  EXPECT_EQ(pane.heldDefaults(), NSUserDefaults::standardUserDefaults());
  EXPECT_EQ(pane.userDefaults(), pane.heldDefaults());
}

TEST_F(SettingsControllerTest, WritingOneKeyKeepsEveryOtherKey) {
  bundle.writeDomain(Dictionary{{"calendars", Value(platform::Array{Value("A")})}, {"viewType", Value(1)}});
  pane.setPreferenceValue(Value("00FFFF"), std::string("textColor"));

  Dictionary stored = bundle.domain();
  EXPECT_EQ(stored.size(), 3u);
  EXPECT_EQ(main_bundle::valueOf(stored, "textColor"), Value("00FFFF"));
  EXPECT_EQ(main_bundle::valueOf(stored, "viewType"), Value(1));
  EXPECT_EQ(main_bundle::valueOf(stored, "calendars"), Value(platform::Array{Value("A")}));
}

TEST_F(SettingsControllerTest, EveryWriteRereadsTheDomainSoOtherProcessesKeysStay) {
  pane.setPreferenceValue(Value("111111"), std::string("first"));
  Dictionary outside = bundle.domain();
  outside.set("fromElsewhere", Value(true));
  bundle.writeDomain(outside);

  pane.setPreferenceValue(Value("222222"), std::string("second"));
  Dictionary stored = bundle.domain();
  EXPECT_EQ(main_bundle::valueOf(stored, "first"), Value("111111"));
  EXPECT_EQ(main_bundle::valueOf(stored, "second"), Value("222222"));
  ASSERT_NE(stored.find("fromElsewhere"), nullptr);
  EXPECT_EQ(main_bundle::valueOf(stored, "fromElsewhere"), Value(true));
}

TEST_F(SettingsControllerTest, NilRemovesTheKeyAndNilForAnAbsentKeyChangesNothing) {
  bundle.writeDomain(Dictionary{{"a", Value("x")}, {"b", Value(2)}});
  pane.setPreferenceValue(Value(), std::string("a"));
  EXPECT_EQ(bundle.domain(), (Dictionary{{"b", Value(2)}}));

  pane.setPreferenceValue(Value(), std::string("neverThere"));
  EXPECT_EQ(bundle.domain(), (Dictionary{{"b", Value(2)}}));
}

TEST_F(SettingsControllerTest, RowStoreGoesThroughTheFrameworkStoreAndTheRowsKey) {
  const std::string otherDomainPath = bundle.root().file("/var/mobile/Library/Preferences/com.example.other.plist");
  auto row = rowWithProperties({{"key", Value("viewType")}, {"defaults", Value("com.example.other")}});
  pane.setPreferenceValue(Value(1), row.get());

  EXPECT_EQ(main_bundle::valueOf(bundle.domain(), "viewType"), Value(1));
  auto other = main_bundle::readHostDictionary(otherDomainPath);
  ASSERT_TRUE(other.has_value());
  EXPECT_EQ(main_bundle::valueOf(*other, "viewType"), Value(1));
}

TEST_F(SettingsControllerTest, RowsBindTheirStoreThroughTheBaseClass) {
  VLRSettingsController registered;
  auto row = rowWithProperties({{"key", Value("showLunar")}});
  row->setTarget(&registered);
  row->setSetter("setPreferenceValue:specifier:");
  ASSERT_TRUE(PSListController::storeValueForSpecifier(*row, Value(false)));
  EXPECT_EQ(main_bundle::valueOf(bundle.domain(), "showLunar"), Value(false));
}

TEST_F(SettingsControllerTest, RowWithoutAStringKeyNeverReachesTheDomain) {
  bundle.writeDomain(Dictionary{{"kept", Value("yes")}});
  auto keyless = rowWithProperties({{"id", Value("viewType")}});
  auto numberKey = rowWithProperties({{"key", Value(7)}});
  pane.setPreferenceValue(Value(1), keyless.get());
  pane.setPreferenceValue(Value(1), numberKey.get());
  pane.setPreferenceValue(Value(1), static_cast<PSSpecifier*>(nullptr));
  EXPECT_EQ(bundle.domain(), (Dictionary{{"kept", Value("yes")}}));
}

TEST_F(SettingsControllerTest, RowWithANilValueRemovesItsKey) {
  bundle.writeDomain(Dictionary{{"viewType", Value(1)}, {"kept", Value("yes")}});
  auto row = rowWithProperties({{"key", Value("viewType")}});
  pane.setPreferenceValue(Value(), row.get());
  EXPECT_EQ(bundle.domain(), (Dictionary{{"kept", Value("yes")}}));
}

}  // namespace
