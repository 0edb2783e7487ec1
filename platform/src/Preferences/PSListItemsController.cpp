// The pane of a link-list row's choices (Preferences/PSListItemsController.h).
#include "Preferences/PSListItemsController.h"

#include "platform/core/ObjC.h"

namespace {

const platform::ClassRegistrar<PSListItemsController> registrar("PSListItemsController", "PSListController");

// What a choice is called when its title is missing: its value as text.
std::string describe(const platform::Value& value) {
  if (const std::string* s = value.string()) return *s;
  if (value.isInteger()) return std::to_string(value.int64Value());
  if (value.isReal()) return std::to_string(value.doubleValue());
  if (const bool* b = value.boolean()) return *b ? "true" : "false";
  return "";
}

}  // namespace

std::shared_ptr<PSListController::SpecifierArray> PSListItemsController::specifiers() {
  if (_specifiers) return _specifiers;
  _specifiers = std::make_shared<SpecifierArray>();
  PSSpecifier* parentRow = specifier().get();
  if (!parentRow) return _specifiers;
  platform::Array values = valuesForSpecifier(*parentRow);
  platform::Array titles = titlesForSpecifier(*parentRow);
  _specifiers->push_back(PSSpecifier::groupSpecifierWithName(parentRow->name()));
  for (std::size_t i = 0; i < values.size(); ++i) {
    const std::string* title = i < titles.size() ? titles[i].string() : nullptr;
    auto item = PSSpecifier::preferenceSpecifierNamed(title ? *title : describe(values[i]), this, "", "", "",
                                                      PSListItemCell, "");
    item->setProperty(values[i], "value");
    _specifiers->push_back(std::move(item));
  }
  return _specifiers;
}

bool PSListItemsController::isChecked(long index) {
  auto item = specifierAtIndex(index);
  PSSpecifier* parentRow = specifier().get();
  if (!item || !parentRow || item->cellType() != PSListItemCell) return false;
  return valueForSpecifier(*parentRow) == item->propertyForKey("value");
}

bool PSListItemsController::listItemSelected(long index) {
  auto item = specifierAtIndex(index);
  PSSpecifier* parentRow = specifier().get();
  if (!item || !parentRow || item->cellType() != PSListItemCell) return false;
  return storeValueForSpecifier(*parentRow, item->propertyForKey("value"));
}
