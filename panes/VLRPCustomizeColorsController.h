// VLRPCustomizeColorsController: the pane in which the user adds named colours
// of their own and deletes them. The colours live in the widget data file
// under "extra-colors"; the colour scheme pane offers them after its built-in
// colours.
//
// Rows (flat indexes, group rows counted):
//   0  group "color form", footer "color format hint"
//   1  name row (text)        2  value row (text)
//   3  group "added colors", present exactly while there are colours
//   4… one title-value row per colour: the name, and its value beside it
// Adding goes through the inline add form: when the keyboard goes away with
// neither field focused, both texts are trimmed; an empty one stops silently;
// a name already present clears and refocuses the name field and alerts
// "duplicated color name"; a value whose trailing hex digits need more than
// 24 bits (values over eight bytes are not scanned) clears and refocuses the
// value field and alerts "invalid color value"; otherwise the upper-cased
// value is stored under the name, the file rewritten and the row inserted.
// Just before that store, typed text that may not be stored (see
// velloria::form::storable) is refused the same way with the alert "text
// cannot be stored". Deleting a colour resets every colour setting whose
// stored string equals the colour's value to its default.
#pragma once

#include <memory>

#include "Preferences/PSEditableListController.h"
#include "UIKit/UIBarButtonItem.h"
#include "platform/core/Value.h"

class VLRPCustomizeColorsController : public PSEditableListController {
 public:
  VLRPCustomizeColorsController() = default;
  // Stops observing the keyboard.
  ~VLRPCustomizeColorsController() override;

  // Builds the rows on the first call (reading "extra-colors" and starting to
  // observe the keyboard); returns the current rows afterwards.
  std::shared_ptr<SpecifierArray> specifiers() override;

  // Rewrites "extra-colors" of the widget data file: the colours this pane
  // added and deleted since its last successful write are applied to those
  // the file holds now, whose other entries stay; every other key is kept.
  // A failed write is not reported; its changes go with the next write.
  void _persistent();

  // Keyboard did-show: swaps the Done button in, saving the host's button once.
  void keyboardDidShow();
  // Keyboard did-hide: commits the form (see above) unless a field is focused.
  void keyboardDidHide();
  // The Done button: resigns the fields, restores the saved button, ends
  // editing mode.
  void _editDone();

  // The value held under the row's name, or nil.
  platform::Value colorValueForSpecifier(PSSpecifier* specifier);

  // Resets the colour settings holding the row's value, forgets the colour,
  // rewrites the file, drops the "added colors" group with the last colour,
  // then lets the base remove the row. Returns the base's result.
  bool performDeletionActionForSpecifier(PSSpecifier* specifier) override;

  // The button saved when the keyboard first appeared (null until then).
  const std::shared_ptr<UIBarButtonItem>& editButton() const { return _editButton; }

 private:
  std::shared_ptr<PSSpecifier> colorSpecifier(const std::string& name);
  void resetColorSettingsHolding(const std::string& value);

  platform::Dictionary _colors;
  platform::Dictionary _unsavedColors;  // name -> value added, nil for deleted; not yet written
  std::shared_ptr<UIBarButtonItem> _editButton;
};
