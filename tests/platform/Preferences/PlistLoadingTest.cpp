// Rows loaded from bundle plists: cell types, localisation, bindings and the
// errors for names that do not exist.
#include <fstream>

#include "FrameworkFixture.h"

namespace framework_test {
namespace {

using platform::Array;
using platform::Dictionary;
using platform::Value;

class PlistLoading : public FrameworkTest {
 protected:
  std::shared_ptr<TestPane> pane = std::make_shared<TestPane>();

  std::string loadError(const std::string& name) {
    try {
      pane->loadSpecifiersFromPlistName(name, pane.get());
    } catch (const platform::BindingError& e) {
      return e.what();
    }
    return "";
  }
};

TEST_F(PlistLoading, RowsCarryTheFrameworkKeys) {
  writeRows("Rows",
            Array{Dictionary{{"cell", "PSGroupCell"}, {"label", "GROUP"}, {"footerText", "FOOTER"}},
                  Dictionary{{"cell", "PSTitleValueCell"}, {"label", "VERSION"}, {"get", "version"}, {"id", "ver"}},
                  Dictionary{{"cell", "PSSegmentCell"},
                             {"label", "VIEW"},
                             {"key", "viewType"},
                             {"defaults", "com.example.test"},
                             {"default", 1},
                             {"set", "setThing:specifier:"},
                             {"validValues", Array{0, 1}},
                             {"validTitles", Array{"MONTH", "WEEK"}}},
                  Dictionary{{"cell", "PSEditTextCell"},
                             {"label", "DATE"},
                             {"keyboard", "NumberPad"},
                             {"autoCaps", "None"},
                             {"noAutoCorrect", true},
                             {"placeholder", "0101"}},
                  Dictionary{{"cell", "PSButtonCell"}, {"label", "RESET"}, {"action", "press"}, {"enabled", false}},
                  Dictionary{{"cell", "PSLinkListCell"},
                             {"label", "COLOR"},
                             {"key", "bg"},
                             {"valuesDataSource", "colors"},
                             {"titlesDataSource", "colorTitles:"}}});
  // The table is the plist's own name: labels found there are translated,
  // the others show as themselves.
  ASSERT_TRUE(platform::writePropertyListFile(
      root_.file(std::string(kBundle) + "/en.lproj/Rows.strings"),
      Value(Dictionary{{"GROUP", "General"}, {"FOOTER", "A hint"}, {"WEEK", "Week"}})));

  auto rows = pane->loadSpecifiersFromPlistName("Rows", pane.get());
  ASSERT_EQ(rows->size(), 6u);
  const auto& r = *rows;
  EXPECT_EQ(r[0]->cellType(), PSGroupCell);
  EXPECT_EQ(r[0]->name(), "General");
  EXPECT_EQ(r[0]->propertyForKey("footerText"), Value("A hint"));

  EXPECT_EQ(r[1]->cellType(), PSTitleValueCell);
  EXPECT_EQ(r[1]->getter(), "version");
  EXPECT_EQ(r[1]->target(), pane.get());
  EXPECT_EQ(r[1]->identifier(), "ver");
  EXPECT_EQ(PSListController::valueForSpecifier(*r[1]), Value("2.0"));

  EXPECT_EQ(r[2]->cellType(), PSSegmentCell);
  EXPECT_EQ(r[2]->setter(), "setThing:specifier:");
  EXPECT_EQ(r[2]->getter(), "readPreferenceValue:");  // a keyed row without its own getter
  EXPECT_EQ(r[2]->values(), Value(Array{0, 1}));
  EXPECT_EQ(r[2]->titles(), Value(Array{"MONTH", "Week"}));
  EXPECT_EQ(r[2]->propertyForKey("defaults"), Value("com.example.test"));
  EXPECT_EQ(r[2]->propertyForKey("default"), Value(1));

  EXPECT_EQ(r[3]->cellType(), PSEditTextCell);
  EXPECT_EQ(r[3]->editPaneClass(), "PSTextEditingPane");
  EXPECT_EQ(r[3]->keyboardType(), UIKeyboardTypeNumberPad);
  EXPECT_EQ(r[3]->autoCapsType(), 0);
  EXPECT_EQ(r[3]->autoCorrectionType(), 1);
  EXPECT_EQ(r[3]->propertyForKey("placeholder"), Value("0101"));

  EXPECT_EQ(r[4]->cellType(), PSButtonCell);
  EXPECT_FALSE(r[4]->enabled());
  EXPECT_TRUE(PSListController::performAction(*r[4]));
  EXPECT_EQ(pane->presses, 1);

  EXPECT_EQ(r[5]->cellType(), PSLinkListCell);
  EXPECT_EQ(r[5]->setter(), "setPreferenceValue:specifier:");
  EXPECT_EQ(PSListController::valuesForSpecifier(*r[5]), (Array{"FF0000", "00FF00", "0000FF"}));
  EXPECT_EQ(PSListController::titlesForSpecifier(*r[5]), (Array{"red", "green", "blue"}));
  EXPECT_EQ(PSListController::titleForValue(*r[5], Value("00FF00")), "green");
  EXPECT_EQ(PSListController::titleForValue(*r[5], Value("123456")), std::nullopt);
}

TEST_F(PlistLoading, RootStringsKeyNamesTheTableAndTitleTitlesThePane) {
  writeRows("Other", Array{Dictionary{{"cell", "PSGroupCell"}, {"label", "GROUP"}}},
            Dictionary{{"title", "PANE"}, {"strings", "Shared"}});
  ASSERT_TRUE(platform::writePropertyListFile(root_.file(std::string(kBundle) + "/en.lproj/Shared.strings"),
                                              Value(Dictionary{{"GROUP", "Shared group"}, {"PANE", "Pane"}})));
  auto rows = pane->loadSpecifiersFromPlistName("Other", pane.get());
  ASSERT_EQ(rows->size(), 1u);
  EXPECT_EQ((*rows)[0]->name(), "Shared group");
  EXPECT_EQ(pane->title(), "Pane");
}

TEST_F(PlistLoading, MissingOrMalformedPlistGivesNoRows) {
  EXPECT_TRUE(pane->loadSpecifiersFromPlistName("Absent", pane.get())->empty());
  std::ofstream(root_.file(std::string(kBundle) + "/Broken.plist")) << "<plist><dict><key>items</key>";
  EXPECT_TRUE(pane->loadSpecifiersFromPlistName("Broken", pane.get())->empty());
  writePlist("NoItems.plist", Dictionary{{"items", "not an array"}});
  EXPECT_TRUE(pane->loadSpecifiersFromPlistName("NoItems", pane.get())->empty());
}

TEST_F(PlistLoading, UnknownNamesAreErrorsNamingPlistRowAndName) {
  Dictionary group{{"cell", "PSGroupCell"}};
  writeRows("BadGet", Array{group, Dictionary{{"cell", "PSTitleValueCell"}, {"label", "V"}, {"get", "nope"}}});
  std::string e = loadError("BadGet");
  EXPECT_NE(e.find("BadGet.plist"), std::string::npos) << e;
  EXPECT_NE(e.find("row 1"), std::string::npos) << e;
  EXPECT_NE(e.find("\"nope\""), std::string::npos) << e;

  writeRows("BadSet", Array{Dictionary{{"cell", "PSSwitchCell"}, {"set", "setNope:specifier:"}}});
  EXPECT_NE(loadError("BadSet").find("setNope:specifier:"), std::string::npos);
  writeRows("BadAction", Array{Dictionary{{"cell", "PSButtonCell"}, {"action", "explode"}}});
  EXPECT_NE(loadError("BadAction").find("explode"), std::string::npos);
  writeRows("BadSource", Array{Dictionary{{"cell", "PSLinkListCell"}, {"titlesDataSource", "titles"}}});
  EXPECT_NE(loadError("BadSource").find("titles"), std::string::npos);
  writeRows("BadCell", Array{group, group, Dictionary{{"cell", "PSFancyCell"}}});
  e = loadError("BadCell");
  EXPECT_NE(e.find("row 2"), std::string::npos) << e;
  EXPECT_NE(e.find("PSFancyCell"), std::string::npos) << e;
  writeRows("NoCell", Array{Dictionary{{"label", "x"}}});
  EXPECT_NE(loadError("NoCell").find("no cell type"), std::string::npos);
  writeRows("NotDict", Array{"row"});
  EXPECT_NE(loadError("NotDict").find("not a dictionary"), std::string::npos);
  // A selector without a target to answer it.
  EXPECT_THROW(pane->loadSpecifiersFromPlistName("BadAction", nullptr), platform::BindingError);
}

TEST_F(PlistLoading, DetailClassesAreCheckedWhenOpened) {
  writeRows("Links", Array{Dictionary{{"cell", "PSLinkCell"}, {"label", "Later"}, {"detail", "NotYetBuilt"}},
                           Dictionary{{"cell", "PSLinkCell"}, {"label", "Sub"}, {"detail", "FrameworkTestPane"}},
                           Dictionary{{"cell", "PSLinkCell"}, {"label", "Odd"}, {"detail", "PSTextEditingPane"}},
                           Dictionary{{"cell", "PSLinkListCell"}, {"label", "Pick"}, {"valuesDataSource", "colors"}},
                           Dictionary{{"cell", "PSStaticTextCell"}, {"label", "Text"}}});
  auto rows = pane->loadSpecifiersFromPlistName("Links", pane.get());
  ASSERT_EQ(rows->size(), 5u);
  try {
    pane->detailControllerForSpecifier((*rows)[0]);
    FAIL() << "an unknown detail class was opened";
  } catch (const platform::BindingError& e) {
    std::string what = e.what();
    EXPECT_NE(what.find("Links.plist, row 0"), std::string::npos) << what;
    EXPECT_NE(what.find("NotYetBuilt"), std::string::npos) << what;
  }
  PSRootController root;
  pane->setRootController(&root);
  auto sub = pane->detailControllerForSpecifier((*rows)[1]);
  ASSERT_NE(std::dynamic_pointer_cast<TestPane>(sub), nullptr);
  EXPECT_EQ(sub->parentController(), pane.get());
  EXPECT_EQ(sub->specifier(), (*rows)[1]);
  EXPECT_EQ(sub->title(), "Sub");
  EXPECT_EQ(sub->rootController(), &root);
  EXPECT_THROW(pane->detailControllerForSpecifier((*rows)[2]), platform::BindingError);
  EXPECT_NE(std::dynamic_pointer_cast<PSListItemsController>(pane->detailControllerForSpecifier((*rows)[3])), nullptr);
  EXPECT_EQ(pane->detailControllerForSpecifier((*rows)[4]), nullptr);
}

}  // namespace
}  // namespace framework_test
