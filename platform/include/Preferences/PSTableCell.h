// PSTableCell: the live cell of a row, created by the host and kept in the
// row's "cellObject" property while the row is shown.
//
// Text rows (cell type 8) have a text field; the cell's first-responder
// calls go to it. Switch rows (cell type 6) have a UISwitch, also kept in the
// row's "control" property. Other cells hold the value the host last showed.
#pragma once

#include <memory>

#include "Preferences/PSSpecifier.h"
#include "UIKit/UIResponder.h"
#include "UIKit/UISwitch.h"
#include "UIKit/UITextField.h"

class PSTableCell : public UIResponder {
 public:
  // Use cellForSpecifier.
  explicit PSTableCell(PSCellType type);

  // The row's live cell: the existing "cellObject" when it is a PSTableCell,
  // else a new cell for the row's type, stored as "cellObject" (and its
  // switch as "control"). A text cell takes the row's keyboard settings and
  // "placeholder".
  static std::shared_ptr<PSTableCell> cellForSpecifier(PSSpecifier& specifier);

  PSCellType type() const { return type_; }

  // The field of a text cell, else null.
  UITextField* textField() const { return textField_.get(); }
  // The switch of a switch cell, else null.
  UISwitch* control() const { return switch_.get(); }

  // A text cell's text (nil when the field has none); a switch cell's state
  // as a boolean; otherwise the value last given to setValue.
  platform::Value value() const;
  void setValue(platform::Value value);

  bool canBecomeFirstResponder() const override { return textField_ != nullptr; }
  bool isFirstResponder() const override;
  bool becomeFirstResponder() override;
  bool resignFirstResponder() override;

 private:
  PSCellType type_;
  std::shared_ptr<UITextField> textField_;
  std::shared_ptr<UISwitch> switch_;
  platform::Value value_;
};
