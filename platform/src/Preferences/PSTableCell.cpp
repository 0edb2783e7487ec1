// Live cells of rows (Preferences/PSTableCell.h).
#include "Preferences/PSTableCell.h"

PSTableCell::PSTableCell(PSCellType type) : type_(type) {
  if (type == PSEditTextCell) textField_ = std::make_shared<UITextField>();
  if (type == PSSwitchCell) switch_ = std::make_shared<UISwitch>();
}

std::shared_ptr<PSTableCell> PSTableCell::cellForSpecifier(PSSpecifier& specifier) {
  if (auto existing = specifier.propertyForKey("cellObject").objectAs<PSTableCell>()) return existing;
  auto cell = std::make_shared<PSTableCell>(specifier.cellType());
  if (cell->textField_) {
    cell->textField_->setKeyboardType(specifier.keyboardType());
    platform::Value placeholder = specifier.propertyForKey("placeholder");
    if (const std::string* text = placeholder.string()) cell->textField_->setPlaceholder(*text);
  }
  specifier.setProperty(platform::Value(std::static_pointer_cast<platform::Object>(cell)), "cellObject");
  if (cell->switch_)
    specifier.setProperty(platform::Value(std::static_pointer_cast<platform::Object>(cell->switch_)), "control");
  return cell;
}

platform::Value PSTableCell::value() const {
  if (textField_) {
    const auto& text = textField_->text();
    return text ? platform::Value(*text) : platform::Value();
  }
  if (switch_) return platform::Value(switch_->isOn());
  return value_;
}

void PSTableCell::setValue(platform::Value value) {
  if (textField_) {
    const std::string* text = value.string();
    textField_->setText(text ? std::optional<std::string>(*text) : std::nullopt);
  } else if (switch_) {
    switch_->setOn(value.boolean() ? *value.boolean() : value.doubleValue() != 0);
  } else {
    value_ = std::move(value);
  }
}

bool PSTableCell::isFirstResponder() const { return textField_ && textField_->isFirstResponder(); }

bool PSTableCell::becomeFirstResponder() { return textField_ && textField_->becomeFirstResponder(); }

bool PSTableCell::resignFirstResponder() { return !textField_ || textField_->resignFirstResponder(); }
