// PSSpecifier: one row of a list controller.
//
// A row has a name, a target (the controller whose selectors it names; a
// borrowed pointer, the controller owns its rows), getter/setter/action
// selector strings bound through the target's class (platform/ObjC.h), a
// detail pane class name, a cell type, an edit pane class name, a property
// dictionary and user info. The framework's property keys are:
//   "key" preference key, "id" identifier, "enabled" (boolean; false greys the
//   row out), "footerText" (group footer), "defaults" (preference domain of the
//   per-row store), "default" (value read when the domain has none),
//   "PostNotification" (notification posted after a store), "cellObject" (the
//   live cell, set by the host), "control" (a switch row's UISwitch, set by the
//   host), "placeholder", "isController", "action".
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/core/Value.h"

// Cell type numbers, as the framework numbers them.
enum PSCellType : int {
  PSGroupCell = 0,
  PSLinkCell = 1,
  PSLinkListCell = 2,
  PSListItemCell = 3,
  PSTitleValueCell = 4,
  PSSliderCell = 5,
  PSSwitchCell = 6,
  PSStaticTextCell = 7,
  PSEditTextCell = 8,
  PSSegmentCell = 9,
  PSButtonCell = 13,
};

// Keyboard settings of text rows (UIKeyboardType, UITextAutocapitalizationType,
// UITextAutocorrectionType numbers).
enum UIKeyboardType : int { UIKeyboardTypeDefault = 0, UIKeyboardTypeNumberPad = 4 };

class PSSpecifier : public platform::Object {
 public:
  PSSpecifier() = default;

  // preferenceSpecifierNamed:target:set:get:detail:cell:edit: — "" for a
  // selector or class that the row does not have.
  static std::shared_ptr<PSSpecifier> preferenceSpecifierNamed(std::string name, platform::Object* target,
                                                               std::string setter, std::string getter,
                                                               std::string detail, PSCellType cell,
                                                               std::string edit);
  // groupSpecifierWithName: — a group row (cell type 0) titled `name`.
  static std::shared_ptr<PSSpecifier> groupSpecifierWithName(std::string name);
  // emptyGroupSpecifier — a group row without a title.
  static std::shared_ptr<PSSpecifier> emptyGroupSpecifier();

  const std::string& name() const { return name_; }
  void setName(std::string name) { name_ = std::move(name); }
  // The identifier: the "id" property when it is a string, else the name.
  std::string identifier() const;

  platform::Object* target() const { return target_; }
  void setTarget(platform::Object* target) { target_ = target; }
  // Selector strings; "" when the row has none.
  const std::string& setter() const { return setter_; }
  const std::string& getter() const { return getter_; }
  void setSetter(std::string s) { setter_ = std::move(s); }
  void setGetter(std::string s) { getter_ = std::move(s); }
  // The button action (from the "action" plist key).
  const std::string& action() const { return action_; }
  void setAction(std::string s) { action_ = std::move(s); }
  // Data-source selectors for values and titles ("" for none).
  const std::string& valuesDataSource() const { return valuesDataSource_; }
  const std::string& titlesDataSource() const { return titlesDataSource_; }
  void setValuesDataSource(std::string s) { valuesDataSource_ = std::move(s); }
  void setTitlesDataSource(std::string s) { titlesDataSource_ = std::move(s); }

  // Class name of the pane a link row opens ("" for none).
  const std::string& detailControllerClass() const { return detail_; }
  void setDetailControllerClass(std::string c) { detail_ = std::move(c); }
  PSCellType cellType() const { return cell_; }
  void setCellType(PSCellType cell) { cell_ = cell; }
  // Class name of the edit pane ("PSTextEditingPane" for text rows, or "").
  const std::string& editPaneClass() const { return edit_; }
  void setEditPaneClass(std::string c) { edit_ = std::move(c); }

  // properties, propertyForKey: (nil when absent), setProperty:forKey: (a nil
  // value removes the key), removePropertyForKey:.
  const platform::Dictionary& properties() const { return properties_; }
  platform::Dictionary& properties() { return properties_; }
  platform::Value propertyForKey(std::string_view key) const;
  void setProperty(platform::Value value, std::string key);
  void removePropertyForKey(std::string_view key);

  const platform::Value& userInfo() const { return userInfo_; }
  void setUserInfo(platform::Value info) { userInfo_ = std::move(info); }

  // setValues:titles: (and setValues:titles:shortTitles:). Arrays, or nil to clear.
  void setValues(platform::Value values, platform::Value titles, platform::Value shortTitles = {});
  const platform::Value& values() const { return values_; }
  const platform::Value& titles() const { return titles_; }
  const platform::Value& shortTitles() const { return shortTitles_; }

  // setKeyboardType:autoCaps:autoCorrection:
  void setKeyboardType(int keyboardType, int autoCaps, int autoCorrection);
  int keyboardType() const { return keyboardType_; }
  int autoCapsType() const { return autoCaps_; }
  int autoCorrectionType() const { return autoCorrection_; }

  // The "enabled" property (a boolean or number); rows without one are enabled.
  bool enabled() const;

  // Where the row was loaded from ("Main.plist, row 3"), for error messages;
  // "" for rows made in code.
  const std::string& origin() const { return origin_; }
  void setOrigin(std::string origin) { origin_ = std::move(origin); }

 private:
  std::string name_;
  platform::Object* target_ = nullptr;
  std::string setter_, getter_, action_, valuesDataSource_, titlesDataSource_;
  std::string detail_, edit_;
  PSCellType cell_ = PSGroupCell;
  platform::Dictionary properties_;
  platform::Value userInfo_;
  platform::Value values_, titles_, shortTitles_;
  int keyboardType_ = 0, autoCaps_ = 0, autoCorrection_ = 0;
  std::string origin_;
};
