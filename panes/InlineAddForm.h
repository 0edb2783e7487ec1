// The pieces the two editors share for their inline add form: the two text
// rows at the top of the list, committed when the keyboard goes away, the
// Done button that stands in for the host's Edit button while the keyboard is
// up, and the error alerts.
#pragma once

#include <memory>
#include <string>

#include "Preferences/PSEditableListController.h"
#include "Preferences/PSListController.h"
#include "Preferences/PSTableCell.h"
#include "UIKit/UIBarButtonItem.h"
#include "TextKeys.h"

namespace velloria::form {

// The text of a string-table key in a table of the pane's bundle; a key the
// table lacks reads as itself.
std::string localized(const PSListController& pane, const std::string& key, const std::string& table = "Main");

// A text row of the add form titled by a string-table key, bound to the
// pane, editing through the text editing pane.
std::shared_ptr<PSSpecifier> textRow(PSListController& pane, const std::string& titleKey);

// The live cell the host keeps in the row's "cellObject", or null when the
// row or its cell is missing.
std::shared_ptr<PSTableCell> cellAt(const PSListController& pane, long index);

// Whether a cell exists and holds the focus.
bool isFocused(const PSTableCell* cell);

// The cell's text with whitespace trimmed from both ends; "" when there is no
// cell or no text.
std::string trimmedText(const PSTableCell* cell);

// Whether typed text may be stored: a property list can hold it
// (platform::isPropertyListValue), and it holds no control character that
// only a slip of the keyboard puts in a name or a value (C0 controls other
// than tab, line feed and carriage return; U+FFFE, U+FFFF). Values read
// from files are not judged by this: whatever they hold is kept.
bool storable(const std::string& text);

// Sets the cell's field text to nil.
void clearField(PSTableCell* cell);

// Refuses a field's text: clears the field, gives it the focus again and
// shows the alert "error" / messageKey.
void refuseField(const PSListController& pane, PSTableCell* cell, const std::string& messageKey);

// Shows the alert "error" / messageKey (both looked up in "Main") with the
// single button "OK" and no delegate.
void showError(const PSListController& pane, const std::string& messageKey);

// Keyboard up: saves the right button into editButton the first time one is
// there, and puts a Done button (system item 0, action "_editDone") in its
// place.
void showDoneButton(PSListController& pane, std::shared_ptr<UIBarButtonItem>& editButton);

// Puts the saved button back (none when nothing was saved).
void restoreEditButton(PSListController& pane, const std::shared_ptr<UIBarButtonItem>& editButton);

// The Done button's action: when either field row holds the focus, both
// resign it (the keyboard goes, and its did-hide notification commits the
// form); the saved button comes back and editing mode ends.
void editDone(PSEditableListController& pane, long firstFieldRow, long secondFieldRow,
              const std::shared_ptr<UIBarButtonItem>& editButton);

}  // namespace velloria::form
