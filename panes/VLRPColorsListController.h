// VLRPColorsListController: the pane in which the user picks the widget's
// colours. Its rows come from the bundle plist "ColorSettings"; its own work
// is the colour table it hands to those rows as their values and titles:
// eleven built-in colours (titles looked up in the "ColorSettings" table),
// then the custom colours of the widget data file's "extra-colors" in the
// file's order, their names as stored. Nothing is merged or dropped. The
// table is built once, when the pane is created.
#pragma once

#include <memory>

#include "TextKeys.h"
#include "VLRSettingsController.h"

class NSBundle;

class VLRPColorsListController : public VLRSettingsController {
 public:
  // The number of built-in colours at the head of the table.
  static constexpr std::size_t kBuiltInColorCount = velloria::text::kBuiltInColors.size();

  // Builds the colour table.
  VLRPColorsListController();

  // The table's values (hex colour strings) and titles, entry i of one
  // belonging to entry i of the other: the pane's own lists, not copies.
  platform::Array& colors() { return _colors; }
  platform::Array& colorTitles() { return _colorTitles; }

  // The rows of "ColorSettings" bound to this pane, loaded on the first call
  // and returned as they stand afterwards.
  std::shared_ptr<SpecifierArray> specifiers() override;

 private:
  std::shared_ptr<NSBundle> bundle;
  platform::Array _colors;
  platform::Array _colorTitles;
};
