#include "InlineAddForm.h"
#include "TextKeys.h"

#include "Foundation/NSBundle.h"
#include "UIKit/UIAlertView.h"
#include "platform/plist/PropertyList.h"
#include "platform/core/Strings.h"

namespace velloria::form {

std::string localized(const PSListController& pane, const std::string& key, const std::string& table) {
  std::shared_ptr<NSBundle> bundle = pane.bundle();
  return bundle ? bundle->localizedStringForKey(key, std::string(), table) : key;
}

std::shared_ptr<PSTableCell> cellAt(const PSListController& pane, long index) {
  std::shared_ptr<PSSpecifier> row = pane.specifierAtIndex(index);
  return row ? row->propertyForKey("cellObject").objectAs<PSTableCell>() : nullptr;
}

bool isFocused(const PSTableCell* cell) { return cell && cell->isFirstResponder(); }

std::string trimmedText(const PSTableCell* cell) {
  if (!cell) return {};
  platform::Value value = cell->value();
  const std::string* text = value.string();
  return text ? platform::trimWhitespace(*text) : std::string();
}

bool storable(const std::string& text) {
  if (!platform::isPropertyListValue(platform::Value(text))) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') return false;
    bool nonCharacter = text.compare(i, 2, "\xEF\xBF") == 0 && i + 2 < text.size() &&
                        (static_cast<unsigned char>(text[i + 2]) & 0xFE) == 0xBE;  // U+FFFE, U+FFFF
    if (nonCharacter) return false;
  }
  return true;
}

void clearField(PSTableCell* cell) {
  if (cell && cell->textField()) cell->textField()->setText(std::nullopt);
}

void showError(const PSListController& pane, const std::string& messageKey) {
  UIAlertView alert(localized(pane, velloria::text::kError), localized(pane, messageKey), nullptr, std::string("OK"));
  alert.show();
}

void refuseField(const PSListController& pane, PSTableCell* cell, const std::string& messageKey) {
  clearField(cell);
  if (cell) cell->becomeFirstResponder();
  showError(pane, messageKey);
}

void showDoneButton(PSListController& pane, std::shared_ptr<UIBarButtonItem>& editButton) {
  UINavigationItem* item = pane.navigationItem();
  if (!editButton) editButton = item->rightBarButtonItem();
  item->setRightBarButtonItem(std::make_shared<UIBarButtonItem>(UIBarButtonSystemItemDone, &pane, "_editDone"),
                              false);
}

void restoreEditButton(PSListController& pane, const std::shared_ptr<UIBarButtonItem>& editButton) {
  pane.navigationItem()->setRightBarButtonItem(editButton, false);
}

void editDone(PSEditableListController& pane, long firstFieldRow, long secondFieldRow,
              const std::shared_ptr<UIBarButtonItem>& editButton) {
  std::shared_ptr<PSTableCell> first = cellAt(pane, firstFieldRow);
  std::shared_ptr<PSTableCell> second = cellAt(pane, secondFieldRow);
  if (isFocused(first.get()) || isFocused(second.get())) {
    if (first) first->resignFirstResponder();
    if (second) second->resignFirstResponder();
  }
  restoreEditButton(pane, editButton);
  pane.setEditable(false);
}

std::shared_ptr<PSSpecifier> textRow(PSListController& pane, const std::string& titleKey) {
  return PSSpecifier::preferenceSpecifierNamed(localized(pane, titleKey), &pane, "", "", "", PSEditTextCell,
                                               "PSTextEditingPane");
}

}  // namespace velloria::form
