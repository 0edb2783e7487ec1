// PSListController: a pane of rows (PSSpecifier objects).
//
// The rows live in `_specifiers`, null until a pane fills it. A subclass
// overrides specifiers() to fill `_specifiers` on the first call and return it
// as it stands afterwards; the base implementation returns `_specifiers` as
// it is. All row indexes are flat: group rows are counted. Rows before the
// first group row form group 0 of their own.
//
// Plists: loadSpecifiersFromPlistName reads `<name>.plist` from the pane's
// bundle (bundle()). Its root dictionary's "items" array holds the rows, each
// a dictionary with the framework's keys:
//   cell        PSGroupCell, PSLinkCell, PSLinkListCell, PSListItemCell,
//               PSTitleValueCell, PSSliderCell, PSSwitchCell, PSStaticTextCell,
//               PSEditTextCell, PSSegmentCell, PSButtonCell
//   label       the row's name, looked up in the plist's string table
//   get, set    getter / setter selectors of the target; a row with a "key"
//               and no get/set uses readPreferenceValue: /
//               setPreferenceValue:specifier:
//   action      a button's selector
//   detail      the pane class a link row opens; "isController" is kept as a
//               property. Link-list rows without one open PSListItemsController.
//   validValues, validTitles (titles looked up), valuesDataSource,
//               titlesDataSource (selectors of the target returning arrays)
//   keyboard    "NumberPad" or "Default"; autoCaps ("None", "Words",
//               "Sentences", "AllCharacters"), noAutoCorrect (boolean)
//   footerText  looked up; every other key (key, id, default, defaults,
//               enabled, placeholder, PostNotification, isController, …) is
//               copied into the row's properties as it stands.
// Rows with a "key" and no get/set (other than group, link and button rows)
// get readPreferenceValue: / setPreferenceValue:specifier:. The string table
// is the root key "strings" when present, else the plist's own name; a label
// missing from it shows as itself. The root "title", when present, titles a
// pane that has no title yet. A missing or malformed plist gives no rows.
// A row that is not a dictionary, an unknown or missing cell type, or a
// get/set/action/data-source selector the target's class does not answer
// throws platform::BindingError naming the plist, the row index and the name.
// Detail classes are checked when the row is opened
// (detailControllerForSpecifier), so a pane whose detail panes are not built
// yet still opens; that error names the plist and row too.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Preferences/PSSpecifier.h"
#include "UIKit/UINavigationItem.h"

class NSBundle;

// The navigation controller that holds the panes (the settings host's).
class PSRootController : public platform::Object {};

class PSListController : public platform::Object {
 public:
  using SpecifierArray = std::vector<std::shared_ptr<PSSpecifier>>;

  PSListController();
  ~PSListController() override;

  // The rows; see above. May be null for a pane that has none.
  virtual std::shared_ptr<SpecifierArray> specifiers();
  // Drops the rows and builds them again through specifiers().
  virtual void reloadSpecifiers();

  // The rows of `<name>.plist` bound to `target` (usually this). Throws
  // platform::BindingError as described above.
  std::shared_ptr<SpecifierArray> loadSpecifiersFromPlistName(const std::string& name, platform::Object* target);

  // The first row whose identifier is `id`, or null.
  std::shared_ptr<PSSpecifier> specifierForID(std::string_view id) const;
  // The row at a flat index, or null when out of range.
  std::shared_ptr<PSSpecifier> specifierAtIndex(long index) const;
  // Flat index of a row, or -1.
  long indexOfSpecifier(const PSSpecifier* specifier) const;
  // Group rows, plus one when rows stand before the first group row.
  long numberOfGroups() const;
  // Flat index of the group row (or implicit group start) of group `group`,
  // and one past its last row; false when there is no such group.
  bool groupRange(long group, long* first, long* end) const;

  // Inserts at a flat index (0 … count; anything larger appends). Creates
  // `_specifiers` when it is null.
  void insertSpecifier(std::shared_ptr<PSSpecifier> specifier, long index, bool animated);
  // Inserts after the last row of group `group`; a group that does not exist
  // changes nothing.
  void insertSpecifierAtEndOfGroup(std::shared_ptr<PSSpecifier> specifier, long group, bool animated);
  // Removes the row at a flat index; out of range changes nothing.
  void removeSpecifierAtIndex(long index, bool animated);
  void removeSpecifier(const PSSpecifier* specifier, bool animated);

  // The framework's per-row store: the row's "key" in the preference domain
  // named by its "defaults" property (user-defaults persistent domain, then
  // synchronize); rows without both store nothing. A nil value removes the
  // key; a value no property list can hold (a live object) is refused and
  // changes nothing. Afterwards the row's "PostNotification" name, when it
  // has one, is posted on the default notification center on the next turn
  // of the run loop (platform/RunLoop.h).
  virtual void setPreferenceValue(const platform::Value& value, PSSpecifier* specifier);
  // The value stored under the row's "key" in its "defaults" domain, else
  // the row's "default" property (nil when it has none).
  virtual platform::Value readPreferenceValue(PSSpecifier* specifier);

  // What a row shows as its value: its getter's result through the target
  // (or readPreferenceValue when the row's target is a list controller and it
  // has a "key" but no getter); nil when neither applies.
  static platform::Value valueForSpecifier(PSSpecifier& specifier);
  // Stores a value through the row's setter (with the row as argument); false
  // when the row has no setter or no target.
  static bool storeValueForSpecifier(PSSpecifier& specifier, const platform::Value& value);
  // A row's values and titles: its own arrays, or those its data sources
  // return (data sources win). Empty when neither gives an array.
  static platform::Array valuesForSpecifier(PSSpecifier& specifier);
  static platform::Array titlesForSpecifier(PSSpecifier& specifier);
  // The title shown for a value: the title at the value's position among the
  // row's values, else nothing.
  static std::optional<std::string> titleForValue(PSSpecifier& specifier, const platform::Value& value);
  // A switch row flipped: the row's live switch (its "control", created when
  // missing) takes the new state first, then the setter runs with the state
  // as a boolean. False when the row has no setter or no target.
  static bool switchChanged(PSSpecifier& specifier, bool on);
  // A button row tapped: sends its action (with the row) to its target.
  // False when the row has no action or no target; throws
  // platform::BindingError when the target does not answer the action.
  static bool performAction(PSSpecifier& specifier);
  // The pane a link row opens: an instance of its detail class (a link-list
  // row without one opens PSListItemsController), with this pane as parent,
  // the row as specifier, this pane's root controller and the row's name as
  // title. Null for a row that opens nothing. Throws platform::BindingError
  // for a detail class that is unknown or is not a list controller.
  std::shared_ptr<PSListController> detailControllerForSpecifier(const std::shared_ptr<PSSpecifier>& specifier);

  virtual PSRootController* rootController() const { return rootController_; }
  virtual void setRootController(PSRootController* root) { rootController_ = root; }
  PSListController* parentController() const { return parentController_; }
  void setParentController(PSListController* parent) { parentController_ = parent; }
  // The row this pane was opened from (null for a main pane).
  const std::shared_ptr<PSSpecifier>& specifier() const { return specifier_; }
  void setSpecifier(std::shared_ptr<PSSpecifier> specifier) { specifier_ = std::move(specifier); }

  UINavigationItem* navigationItem() { return &navigationItem_; }
  const std::string& title() const { return navigationItem_.title(); }
  void setTitle(std::string title) { navigationItem_.setTitle(std::move(title)); }

  // The bundle of the pane's registered class (NSBundle::bundleForClass;
  // the main bundle for a class no bundle registered).
  std::shared_ptr<NSBundle> bundle() const;

 protected:
  std::shared_ptr<SpecifierArray> _specifiers;

 private:
  PSRootController* rootController_ = nullptr;
  PSListController* parentController_ = nullptr;
  std::shared_ptr<PSSpecifier> specifier_;
  UINavigationItem navigationItem_;
};
