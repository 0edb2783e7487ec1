// The custom colours editor driven as the settings host drives it.
#include <cstdlib>
#include <filesystem>

#include "PaneHarness.h"
#include "VLRPCustomizeColorsController.h"
#include "Velloria/QHPreferences.h"
#include "CoreFoundation/CFBridge.h"
#include "Foundation/NSNotificationCenter.h"
#include "platform/prefs/PreferenceStore.h"

namespace {

using pane_test::alertCount;
using pane_test::expectErrorAlert;
using platform::Dictionary;
using platform::Value;
using Editor = pane_test::ShownPane<VLRPCustomizeColorsController>;

constexpr long kName = 1, kValue = 2;

class ColorsEditorTest : public ::testing::Test {
 protected:
  pane_test::PaneHarness harness;

  Dictionary fileColors() const { return harness.widgetDictionary("extra-colors"); }
};

TEST_F(ColorsEditorTest, FormRowsWithoutDataFile) {
  Editor e;
  ASSERT_EQ(e.rowCount(), 3);
  auto group = e.pane->specifierAtIndex(0);
  EXPECT_EQ(group->cellType(), PSGroupCell);
  EXPECT_EQ(group->name(), "color form");
  EXPECT_EQ(group->propertyForKey("footerText"), Value("color format hint"));
  for (long i : {kName, kValue}) {
    auto row = e.pane->specifierAtIndex(i);
    EXPECT_EQ(row->cellType(), PSEditTextCell);
    EXPECT_EQ(row->editPaneClass(), "PSTextEditingPane");
    EXPECT_EQ(row->target(), e.pane.get());
    EXPECT_TRUE(row->setter().empty() && row->getter().empty());
    EXPECT_EQ(row->keyboardType(), UIKeyboardTypeDefault);
  }
  EXPECT_EQ(e.name(kName), "color name label");
  EXPECT_EQ(e.name(kValue), "color value label");
  EXPECT_EQ(e.pane->specifiers(), e.pane->specifiers()) << "the rows are built once";
}

TEST_F(ColorsEditorTest, ListsStoredColorsInFileOrder) {
  harness.writeWidgetData(Dictionary{{"extra-colors", Dictionary{{"zeta", "00FF00"}, {"alpha", "#12"}}}});
  Editor e;
  ASSERT_EQ(e.rowCount(), 6);
  EXPECT_EQ(e.name(3), "added colors");
  EXPECT_EQ(e.pane->specifierAtIndex(3)->cellType(), PSGroupCell);
  EXPECT_EQ(e.name(4), "zeta");
  EXPECT_EQ(e.name(5), "alpha");
  auto row = e.pane->specifierAtIndex(5);
  EXPECT_EQ(row->cellType(), PSTitleValueCell);
  EXPECT_EQ(PSListController::valueForSpecifier(*row), Value("#12"));
}

TEST_F(ColorsEditorTest, ExtraColorsThatIsNoDictionaryStartsEmpty) {
  harness.writeWidgetData(Dictionary{{"extra-colors", platform::Array{"x"}}, {"keep", 7}});
  Editor e;
  EXPECT_EQ(e.rowCount(), 3);
  e.enter(kName, "Sea", kValue, "2e8b57");
  Dictionary file = harness.widgetFile();
  EXPECT_EQ(pane_test::at(file, "extra-colors"), Value(Dictionary{{"Sea", "2E8B57"}}));
  EXPECT_EQ(pane_test::at(file, "keep"), Value(7));
}

TEST_F(ColorsEditorTest, AddingSwapsDoneButtonInAndCommitsOnHide) {
  harness.writeWidgetData(Dictionary{{"solar-festivals", Dictionary{{"0101", "NY"}}}, {"widget-own", "x"}});
  Editor e;
  e.focus(kName);
  EXPECT_TRUE(e.rightIsDone());
  EXPECT_EQ(e.right()->action(), "_editDone");
  EXPECT_EQ(e.pane->editButton(), e.editButton);
  e.type(kName, " \u00A0Sunset\t ");
  e.focus(kValue);
  EXPECT_EQ(e.pane->editButton(), e.editButton) << "the Edit button is saved once";
  e.type(kValue, "  ff8800 ");
  e.dismiss();

  EXPECT_EQ(e.right(), e.editButton);
  EXPECT_EQ(alertCount(), 0u);
  EXPECT_EQ(e.text(kName), std::nullopt);
  EXPECT_EQ(e.text(kValue), std::nullopt);
  Dictionary file = harness.widgetFile();
  EXPECT_EQ(pane_test::at(file, "extra-colors"), Value(Dictionary{{"Sunset", "FF8800"}}));
  EXPECT_EQ(pane_test::at(file, "solar-festivals"), Value(Dictionary{{"0101", "NY"}}));
  EXPECT_EQ(pane_test::at(file, "widget-own"), Value("x"));
  ASSERT_EQ(e.rowCount(), 5);
  EXPECT_EQ(e.name(3), "added colors");
  EXPECT_EQ(e.name(4), "Sunset");
  EXPECT_EQ(PSListController::valueForSpecifier(*e.pane->specifierAtIndex(4)), Value("FF8800"));

  e.enter(kName, "Moss", kValue, "8a9a5b");
  ASSERT_EQ(e.rowCount(), 6) << "a second colour only appends a row";
  EXPECT_EQ(e.pane->numberOfGroups(), 2);
  EXPECT_EQ(e.name(5), "Moss");
}

struct ValueCase {
  const char* typed;
  const char* stored;  // nullptr: refused
};

class ColorValueRule : public ColorsEditorTest, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(ColorValueRule, AcceptsOrRefuses) {
  Editor e;
  e.enter(kName, "c", kValue, GetParam().typed);
  if (GetParam().stored) {
    EXPECT_EQ(alertCount(), 0u);
    EXPECT_EQ(fileColors(), (Dictionary{{"c", GetParam().stored}}));
    return;
  }
  expectErrorAlert("invalid color value");
  EXPECT_FALSE(harness.widgetData()) << "nothing is written";
  EXPECT_EQ(e.text(kName), "c") << "the name keeps its text";
  EXPECT_EQ(e.text(kValue), std::nullopt);
  platform::RunLoop::drain();
  EXPECT_TRUE(e.cell(kValue)->isFirstResponder());
  EXPECT_TRUE(e.rightIsDone()) << "the refocused field brings the keyboard and the Done button back";
}

INSTANTIATE_TEST_SUITE_P(
    Values, ColorValueRule,
    ::testing::Values(ValueCase{"ff8800", "FF8800"}, ValueCase{"#ff8800", "#FF8800"},
                      ValueCase{"00FF8800", "00FF8800"}, ValueCase{"FFFF8800", nullptr},
                      ValueCase{"1234567", nullptr}, ValueCase{"0234567", "0234567"},
                      ValueCase{"#1234567", nullptr}, ValueCase{"#12345678", "#12345678"},
                      ValueCase{"red", "RED"}, ValueCase{"xyz", "XYZ"}, ValueCase{"ffffff\u00e9", "FFFFFF\u00c9"},
                      ValueCase{"not a colour at all", "NOT A COLOUR AT ALL"},
                      ValueCase{"stra\u00dfe-FFFFFFFF", "STRASSE-FFFFFFFF"}));

TEST_F(ColorsEditorTest, DuplicateNameIsCaseSensitive) {
  harness.writeWidgetData(Dictionary{{"extra-colors", Dictionary{{"Sky", "87CEEB"}}}});
  Editor e;
  e.enter(kName, "  Sky ", kValue, "0000FF");
  expectErrorAlert("duplicated color name");
  EXPECT_EQ(e.text(kName), std::nullopt);
  EXPECT_EQ(e.text(kValue), "0000FF");
  platform::RunLoop::drain();
  EXPECT_TRUE(e.cell(kName)->isFirstResponder());
  EXPECT_EQ(fileColors(), (Dictionary{{"Sky", "87CEEB"}}));

  e.type(kName, "sky");
  e.dismiss();
  EXPECT_EQ(alertCount(), 0u);
  EXPECT_EQ(fileColors(), (Dictionary{{"Sky", "87CEEB"}, {"sky", "0000FF"}}));
}

TEST_F(ColorsEditorTest, EmptyFieldStopsSilently) {
  Editor e;
  e.enter(kName, "Lime", kValue, " \t\u3000 ");
  EXPECT_EQ(alertCount(), 0u);
  EXPECT_EQ(e.text(kName), "Lime");
  EXPECT_EQ(e.right(), e.editButton);
  EXPECT_FALSE(harness.widgetData());
  EXPECT_EQ(e.rowCount(), 3);
}

TEST_F(ColorsEditorTest, LineBreaksAreNotTrimmed) {
  Editor e;
  e.enter(kName, "a\n", kValue, "12");
  EXPECT_EQ(fileColors(), (Dictionary{{"a\n", "12"}}));
}

TEST_F(ColorsEditorTest, HideWhileAFieldIsFocusedChangesNothing) {
  Editor e;
  e.focus(kName);
  e.type(kName, "Rust");
  e.type(kValue, "B7410E");
  NSNotificationCenter::defaultCenter()->postNotificationName(UIKeyboardDidHideNotification);
  EXPECT_TRUE(e.rightIsDone());
  EXPECT_FALSE(harness.widgetData());
  EXPECT_EQ(e.text(kName), "Rust");
}

TEST_F(ColorsEditorTest, DoneResignsEndsEditingAndCommits) {
  Editor e;
  e.pane->setEditable(true);
  e.focus(kValue);
  e.type(kName, "Ink");
  e.type(kValue, "1c1c1c");
  e.right()->tap();
  EXPECT_EQ(e.right(), e.editButton);
  EXPECT_FALSE(e.pane->editable());
  EXPECT_EQ(UIResponder::firstResponder(), nullptr);
  platform::RunLoop::drain();
  EXPECT_EQ(fileColors(), (Dictionary{{"Ink", "1C1C1C"}}));
}

TEST_F(ColorsEditorTest, WithoutRightButtonNothingIsSavedAndTheNextAppearanceTriesAgain) {
  Editor e;
  e.pane->navigationItem()->setRightBarButtonItem(nullptr);
  e.focus(kName);
  EXPECT_EQ(e.pane->editButton(), nullptr);
  e.dismiss();
  EXPECT_EQ(e.right(), nullptr);
  e.pane->navigationItem()->setRightBarButtonItem(e.editButton);
  e.focus(kName);
  EXPECT_EQ(e.pane->editButton(), e.editButton);
}

// Sets colour settings through the exported accessors, as another reader would.
void setSetting(const char* key, const char* value) {
  platform::CFHolder k(platform::createCFObject(Value(key)));
  platform::CFHolder v(platform::createCFObject(Value(value)));
  ASSERT_TRUE(QHPreferenceSetStringForKey(k.as<CFStringRef>(), v.as<CFStringRef>()));
}

TEST_F(ColorsEditorTest, DeletionResetsEverySettingHoldingTheValue) {
  harness.writeWidgetData(Dictionary{{"extra-colors", Dictionary{{"Snow", "FFFFFF"}, {"Coal", "111111"}}},
                                     {"lunar-festivals", Dictionary{{"0815", "MID"}}}});
  setSetting("textColor", "ffffff");     // another letter case: no match
  setSetting("todayColor", "FFFFFF");    // the custom colour
  setSetting("weekendColor", "FFFFFF");  // picked as the built-in white: same value
  setSetting("eventColor", "111111");
  Editor e;
  e.pane->setEditable(true);
  auto snow = e.pane->specifierAtIndex(4);
  ASSERT_EQ(snow->name(), "Snow");
  EXPECT_TRUE(e.pane->performDeletionActionForSpecifier(snow.get()));

  Dictionary domain = harness.domain();
  EXPECT_EQ(pane_test::at(domain, "textColor"), Value("ffffff"));
  EXPECT_EQ(pane_test::at(domain, "todayColor"), Value("FF0000")) << "reset to its default";
  EXPECT_EQ(pane_test::at(domain, "weekendColor"), Value("A8A8AD"));
  EXPECT_EQ(pane_test::at(domain, "eventColor"), Value("111111"));
  EXPECT_EQ(fileColors(), (Dictionary{{"Coal", "111111"}}));
  EXPECT_EQ(harness.widgetDictionary("lunar-festivals"), (Dictionary{{"0815", "MID"}}));
  ASSERT_EQ(e.rowCount(), 5);
  EXPECT_EQ(e.name(4), "Coal");

  EXPECT_TRUE(e.pane->performDeletionActionForSpecifier(e.pane->specifierAtIndex(4).get()));
  EXPECT_EQ(pane_test::at(harness.domain(), "eventColor"), Value("66FF00"));
  EXPECT_EQ(e.rowCount(), 3) << "the last deletion removes the group too";
  EXPECT_EQ(fileColors(), Dictionary());
  EXPECT_TRUE(harness.widgetData()->contains("extra-colors"));

  e.enter(kName, "Again", kValue, "1");
  ASSERT_EQ(e.rowCount(), 5);
  EXPECT_EQ(e.name(3), "added colors");
}

TEST_F(ColorsEditorTest, ColorItemsWithoutStringKeyAreSkipped) {
  // An item with a number for "key" and a group row without one.
  std::ofstream(harness.bundleFile("ColorSettings.plist"))
      << R"(<?xml version="1.0" encoding="UTF-8"?><plist version="1.0"><dict><key>items</key><array>
         <dict><key>cell</key><string>PSGroupCell</string></dict>
         <dict><key>key</key><integer>5</integer><key>default</key><string>000000</string></dict>
         <dict><key>key</key><string>accent</string></dict>
         <string>not an item</string></array></dict></plist>)";
  harness.writeWidgetData(Dictionary{{"extra-colors", Dictionary{{"Teal", "008080"}}}});
  setSetting("accent", "008080");
  Editor e;
  e.pane->performDeletionActionForSpecifier(e.pane->specifierAtIndex(4).get());
  EXPECT_FALSE(harness.domain().contains("accent")) << "an item without default removes the setting";
  EXPECT_EQ(e.rowCount(), 3);
}

TEST_F(ColorsEditorTest, UnstorableTextIsRefusedAndLaterAddsStillWork) {
  Editor e;
  e.enter(kName, "bad\x01name", kValue, "123456");
  expectErrorAlert("text cannot be stored");
  EXPECT_EQ(e.text(kName), std::nullopt);
  e.type(kName, "fine");
  e.type(kValue, std::string("\xff\xfe", 2));
  e.dismiss();
  expectErrorAlert("text cannot be stored");
  EXPECT_EQ(e.text(kName), "fine");
  e.type(kValue, "123456");
  e.dismiss();
  EXPECT_EQ(alertCount(), 0u);
  EXPECT_EQ(fileColors(), (Dictionary{{"fine", "123456"}}));
}

TEST_F(ColorsEditorTest, ChangesOfAFailedWriteGoWithTheNext) {
  harness.writeWidgetData(Dictionary{{"extra-colors", Dictionary{{"Old", "000001"}, {"Gone", "000002"}}}});
  Editor e;
  std::string file = harness.widgetDataFile();
  std::filesystem::remove(file);
  std::filesystem::create_directory(file);  // every write fails while it stands there
  e.enter(kName, "New", kValue, "000003");
  e.pane->performDeletionActionForSpecifier(e.pane->specifierAtIndex(5).get());  // "Gone"
  std::filesystem::remove(file);
  harness.writeWidgetData(
      Dictionary{{"extra-colors", Dictionary{{"Old", "000001"}, {"Gone", "000002"}, {"Theirs", "4"}}}});
  e.enter(kName, "Next", kValue, "000005");
  EXPECT_EQ(fileColors(), (Dictionary{{"Old", "000001"}, {"Theirs", "4"}, {"New", "000003"}, {"Next", "000005"}}));
}

TEST_F(ColorsEditorTest, HostileNamesRoundTripThroughLibplistAndPython) {
  std::string big(100 * 1024, 'x');
  for (std::size_t i = 0; i < big.size(); i += 97) big[i] = "<&>]\t"[i % 5];
  const std::string names[] = {big, "a<b&c]]>d", "tab\tinside", "\xF0\x9F\x8E\xA8 palette", "&amp;"};
  Editor e;
  for (const std::string& name : names) e.enter(kName, name, kValue, "abc");
  EXPECT_EQ(alertCount(), 0u);
  Dictionary colors = fileColors();
  ASSERT_EQ(colors.size(), 5u);
  for (const std::string& name : names) EXPECT_EQ(pane_test::at(colors, name), Value("ABC"));
  EXPECT_EQ(e.rowCount(), 3 + 1 + 5);

  if (std::system("python3 -c 'import plistlib' >/dev/null 2>&1") != 0) GTEST_SKIP() << "no python3";
  // Python reads the file and prints the names it finds; they must be ours.
  std::string out = harness.root().path().string() + "/names.txt";
  std::string cmd = "python3 -c 'import plistlib,sys; d=plistlib.load(open(sys.argv[1],\"rb\"));"
                    "open(sys.argv[2],\"w\",encoding=\"utf-8\",newline=\"\").write(\"\\0\".join(d[\"extra-colors\"]))' " +
                    harness.widgetDataFile() + " " + out;
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  std::ifstream in(out, std::ios::binary);
  std::string joined((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string expected;
  for (const std::string& name : names) expected += (expected.empty() ? "" : std::string(1, '\0')) + name;
  EXPECT_TRUE(joined == expected) << "python read back other names";
}

TEST_F(ColorsEditorTest, ReleasedEditorHearsNoKeyboard) {
  {
    Editor e;
    e.focus(kName);
  }
  // A freed editor must not be called (the sanitizers catch a stale observer).
  auto center = NSNotificationCenter::defaultCenter();
  center->postNotificationName(UIKeyboardDidShowNotification);
  center->postNotificationName(UIKeyboardDidHideNotification);
  EXPECT_EQ(UIResponder::firstResponder(), nullptr);
}

}  // namespace
