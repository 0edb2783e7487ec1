// PSEditableListController: a list controller with an editing mode in which
// rows can be deleted. The settings host gives such panes its Edit button.
#pragma once

#include "Preferences/PSListController.h"

class PSEditableListController : public PSListController {
 public:
  // setEditable: turns editing mode on or off.
  virtual void setEditable(bool editable) { editable_ = editable; }
  bool editable() const { return editable_; }

  // Called when the user deletes a row in editing mode. The base removes the
  // row and returns true; a row that is not one of this pane's changes
  // nothing and gives false.
  virtual bool performDeletionActionForSpecifier(PSSpecifier* specifier);

 private:
  bool editable_ = false;
};
