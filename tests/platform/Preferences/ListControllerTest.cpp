// Flat indexes, groups, insertion and removal, and deletion in editing mode.
#include "FrameworkFixture.h"

namespace framework_test {
namespace {

std::shared_ptr<PSSpecifier> row(const std::string& name) {
  return PSSpecifier::preferenceSpecifierNamed(name, nullptr, "", "", "", PSTitleValueCell, "");
}

// A pane whose rows are set by the test.
class Pane : public TestPane {
 public:
  void setRows(std::vector<std::shared_ptr<PSSpecifier>> rows) {
    _specifiers = std::make_shared<SpecifierArray>(std::move(rows));
  }
  std::vector<std::string> names() const {
    std::vector<std::string> out;
    if (_specifiers)
      for (const auto& s : *_specifiers) out.push_back(s->name());
    return out;
  }
  bool rowsSet() const { return _specifiers != nullptr; }
};

using Names = std::vector<std::string>;

TEST(ListController, FlatIndexesCountGroupRows) {
  Pane pane;
  EXPECT_EQ(pane.numberOfGroups(), 0);
  EXPECT_EQ(pane.specifierAtIndex(0), nullptr);
  auto g0 = PSSpecifier::groupSpecifierWithName("G0");
  auto a = row("a"), b = row("b");
  auto g1 = PSSpecifier::emptyGroupSpecifier();
  a->setProperty("first", "id");
  pane.setRows({g0, a, b, g1});
  EXPECT_EQ(pane.specifierAtIndex(1), a);
  EXPECT_EQ(pane.specifierAtIndex(3), g1);
  EXPECT_EQ(pane.specifierAtIndex(4), nullptr);
  EXPECT_EQ(pane.specifierAtIndex(-1), nullptr);
  EXPECT_EQ(pane.indexOfSpecifier(b.get()), 2);
  EXPECT_EQ(pane.numberOfGroups(), 2);
  EXPECT_EQ(pane.specifierForID("first"), a);
  EXPECT_EQ(pane.specifierForID("b"), b);  // a row without "id" is known by its name
  EXPECT_EQ(pane.specifierForID("none"), nullptr);
  EXPECT_EQ(g1->cellType(), PSGroupCell);
  EXPECT_EQ(g1->name(), "");
}

TEST(ListController, RowsBeforeTheFirstGroupRowFormGroupZero) {
  // The calendars pane's layout: switch rows, then a footer group.
  Pane pane;
  auto footer = PSSpecifier::emptyGroupSpecifier();
  pane.setRows({row("cal1"), row("cal2"), footer});
  EXPECT_EQ(pane.numberOfGroups(), 2);
  long first = -1, end = -1;
  ASSERT_TRUE(pane.groupRange(0, &first, &end));
  EXPECT_EQ(first, 0);
  EXPECT_EQ(end, 2);
  ASSERT_TRUE(pane.groupRange(1, &first, &end));
  EXPECT_EQ(first, 2);
  EXPECT_EQ(end, 3);
  EXPECT_FALSE(pane.groupRange(2, &first, &end));
  pane.insertSpecifierAtEndOfGroup(row("cal3"), 0, true);
  EXPECT_EQ(pane.names(), (Names{"cal1", "cal2", "cal3", ""}));
}

TEST(ListController, InsertAtEndOfGroupAndAtIndex) {
  // The holidays editor's layout: form groups, then two holiday groups.
  Pane pane;
  pane.setRows({PSSpecifier::groupSpecifierWithName("form"), row("type"), PSSpecifier::emptyGroupSpecifier(),
                row("name"), row("date"), PSSpecifier::groupSpecifierWithName("solar"),
                PSSpecifier::groupSpecifierWithName("lunar")});
  pane.insertSpecifierAtEndOfGroup(row("0101"), 2, true);
  pane.insertSpecifierAtEndOfGroup(row("0815"), 3, true);
  pane.insertSpecifierAtEndOfGroup(row("1225"), 2, true);
  EXPECT_EQ(pane.names(), (Names{"form", "type", "", "name", "date", "solar", "0101", "1225", "lunar", "0815"}));
  pane.insertSpecifierAtEndOfGroup(row("lost"), 4, true);  // no such group
  pane.insertSpecifierAtEndOfGroup(row("lost"), -1, true);
  EXPECT_EQ(pane.names().size(), 10u);

  pane.insertSpecifier(row("front"), 0, false);
  pane.insertSpecifier(row("back"), 1000, false);
  pane.insertSpecifier(row("neg"), -5, false);
  pane.insertSpecifier(nullptr, 0, false);
  Names names = pane.names();
  EXPECT_EQ(names.front(), "neg");
  EXPECT_EQ(names[1], "front");
  EXPECT_EQ(names.back(), "back");
  EXPECT_EQ(names.size(), 13u);
}

TEST(ListController, InsertCreatesTheRowsAndRemovalOutOfRangeChangesNothing) {
  Pane pane;
  EXPECT_FALSE(pane.rowsSet());
  pane.insertSpecifier(PSSpecifier::groupSpecifierWithName("added"), 0, true);
  ASSERT_TRUE(pane.rowsSet());
  auto r = row("r");
  pane.insertSpecifierAtEndOfGroup(r, 0, true);
  pane.removeSpecifierAtIndex(2, true);
  pane.removeSpecifierAtIndex(-1, true);
  EXPECT_EQ(pane.names(), (Names{"added", "r"}));
  pane.removeSpecifier(r.get(), true);
  EXPECT_EQ(pane.names(), (Names{"added"}));
  pane.removeSpecifierAtIndex(0, true);
  EXPECT_EQ(pane.numberOfGroups(), 0);
}

TEST(ListController, DeletionInEditingModeRemovesTheRow) {
  Pane pane;
  auto g = PSSpecifier::groupSpecifierWithName("added"), a = row("a"), b = row("b");
  pane.setRows({g, a, b});
  EXPECT_FALSE(pane.editable());
  pane.setEditable(true);
  EXPECT_TRUE(pane.editable());
  EXPECT_TRUE(pane.performDeletionActionForSpecifier(a.get()));
  EXPECT_EQ(pane.names(), (Names{"added", "b"}));
  auto stranger = row("stranger");
  EXPECT_FALSE(pane.performDeletionActionForSpecifier(stranger.get()));
  EXPECT_FALSE(pane.performDeletionActionForSpecifier(nullptr));
  EXPECT_EQ(pane.names(), (Names{"added", "b"}));
}

TEST(ListController, ReloadBuildsTheRowsAgain) {
  struct Counting : Pane {
    std::shared_ptr<SpecifierArray> specifiers() override {
      if (!_specifiers) {
        ++builds;
        _specifiers = std::make_shared<SpecifierArray>(SpecifierArray{row("x")});
      }
      return _specifiers;
    }
    int builds = 0;
  } pane;
  auto first = pane.specifiers();
  EXPECT_EQ(pane.specifiers(), first);
  pane.reloadSpecifiers();
  EXPECT_EQ(pane.builds, 2);
  EXPECT_NE(pane.specifiers(), first);
}

}  // namespace
}  // namespace framework_test
