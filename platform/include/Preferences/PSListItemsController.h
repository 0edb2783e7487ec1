// PSListItemsController: the pane a link-list row opens. Its rows are one
// group titled with the parent row's name and one list-item row (cell type 3)
// per value of the parent row (its own values/titles or its data sources),
// named by the value's title (the value as text when it has none), carrying
// the value in its "value" property. The row of the current value (the parent row's
// value) is checked. Choosing a row stores its value through the parent row's
// setter.
#pragma once

#include "Preferences/PSListController.h"

class PSListItemsController : public PSListController {
 public:
  std::shared_ptr<SpecifierArray> specifiers() override;

  // Whether the row at a flat index is the checked one.
  bool isChecked(long index);
  // Stores the value of the list-item row at a flat index; false when that
  // row is not a list item.
  bool listItemSelected(long index);
};
