// The commands that act on a row of the current pane, and on the settings
// list's entries when no pane is open.
#include <cstdio>

#include "SettingsHost.h"
#include "platform/core/ObjC.h"
#include "platform/core/RunLoop.h"

namespace settings_host {

std::string cellTypeName(int type) {
  switch (type) {
    case PSGroupCell: return "group";
    case PSLinkCell: return "link";
    case PSLinkListCell: return "link list";
    case PSListItemCell: return "list item";
    case PSTitleValueCell: return "title-value";
    case PSSliderCell: return "slider";
    case PSSwitchCell: return "switch";
    case PSStaticTextCell: return "static text";
    case PSEditTextCell: return "text";
    case PSSegmentCell: return "segment";
    case PSButtonCell: return "button";
    default: return "cell type " + std::to_string(type);
  }
}

std::string describeRow(const PSSpecifier& row, long index) {
  std::string text = "row " + std::to_string(index) + " (" + cellTypeName(row.cellType());
  if (!row.name().empty()) text += " \"" + row.name() + "\"";
  return text + ")";
}

std::string choiceText(const platform::Value& value) {
  if (value.isString()) return *value.string();
  if (value.isBoolean()) return *value.boolean() ? "true" : "false";
  if (value.isInteger()) return std::to_string(value.int64Value());
  if (value.isReal()) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", value.doubleValue());
    return buf;
  }
  return "";
}

bool isTruthy(const platform::Value& value) {
  if (value.isBoolean()) return *value.boolean();
  if (value.isNumber()) return value.doubleValue() != 0;
  if (!value.isString()) return false;
  // NSString boolValue: the first non-blank character is Y, y, T, t or 1-9
  // (after optional zeros and a sign).
  const std::string& s = *value.string();
  std::size_t i = s.find_first_not_of(" \t\n");
  if (i == std::string::npos) return false;
  if (s[i] == '+' || s[i] == '-') ++i;
  while (i < s.size() && s[i] == '0') ++i;
  if (i >= s.size()) return false;
  char c = s[i];
  return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}

std::shared_ptr<PSSpecifier> SettingsHost::rowAt(long index, const char* command) {
  auto rows = current()->specifiers();
  long count = rows ? static_cast<long>(rows->size()) : 0;
  if (index >= count)
    throw CommandError(std::string(command) + ": there is no row " + std::to_string(index) + " (this pane has " +
                       (count ? "rows 0 to " + std::to_string(count - 1) : std::string("no rows")) + ")");
  auto row = (*rows)[static_cast<std::size_t>(index)];
  if (row->cellType() != PSGroupCell && !row->enabled())
    throw CommandError(std::string(command) + ": " + describeRow(*row, index) + " is disabled");
  return row;
}

void SettingsHost::tapEntry(long index) {
  if (index >= static_cast<long>(entries_.size()))
    throw CommandError("tap: there is no entry " + std::to_string(index) + " in the settings list (" +
                       std::to_string(entries_.size()) + " entries)");
  openEntry(static_cast<std::size_t>(index));
}

void SettingsHost::tap(long index) {
  if (stack_.empty()) return tapEntry(index);
  auto row = rowAt(index, "tap");
  switch (row->cellType()) {
    case PSLinkCell:
    case PSLinkListCell:
      return followLink(row, index);
    case PSButtonCell: {
      std::string action = row->action();
      if (action.empty()) throw CommandError("tap: " + describeRow(*row, index) + " has no action");
      if (!row->target()) throw CommandError("tap: " + describeRow(*row, index) + " has no target");
      platform::performSelector(*row->target(), action, platform::Value(), row.get());
      return;
    }
    case PSSwitchCell: {
      auto cell = PSTableCell::cellForSpecifier(*row);
      return setSwitch(index, cell->control() && cell->control()->isOn() ? "off" : "on");
    }
    case PSEditTextCell:
      return focus(index);
    case PSListItemCell:
      if (auto* items = dynamic_cast<PSListItemsController*>(current())) {
        if (items->listItemSelected(index)) return;
      }
      break;
    default:
      break;
  }
  throw CommandError("tap: " + describeRow(*row, index) + " cannot be tapped");
}

void SettingsHost::followLink(const std::shared_ptr<PSSpecifier>& row, long index) {
  std::string detail = row->detailControllerClass();
  if (detail.empty() && row->cellType() == PSLinkListCell) detail = "PSListItemsController";
  if (detail.empty()) throw CommandError("tap: " + describeRow(*row, index) + " opens no pane");
  std::shared_ptr<PSListController> pane;
  if (platform::ClassRegistry::exists(detail))
    pane = std::dynamic_pointer_cast<PSListController>(platform::ClassRegistry::create(detail));
  if (!pane)
    throw CommandError("tap: the pane \"" + detail + "\" of " + describeRow(*row, index) +
                       " is not available (no loaded bundle defines it)");
  endEditingSession();
  push(std::move(pane), row, row->name());
}

void SettingsHost::setSwitch(long index, const std::string& state) {
  if (state != "on" && state != "off") throw CommandError("switch: say on or off, not \"" + state + "\"");
  if (stack_.empty()) throw CommandError("switch: no pane is open");
  auto row = rowAt(index, "switch");
  if (row->cellType() != PSSwitchCell) throw CommandError("switch: " + describeRow(*row, index) + " is no switch");
  auto cell = PSTableCell::cellForSpecifier(*row);
  bool on = state == "on";
  // The live switch shows its new state before the setter runs: setters read
  // the switches of the pane's rows.
  cell->control()->setOn(on);
  PSListController::storeValueForSpecifier(*row, platform::Value(on));
}

void SettingsHost::choose(long index, const std::string& choice) {
  if (stack_.empty()) throw CommandError("choose: no pane is open");
  auto row = rowAt(index, "choose");
  if (row->cellType() != PSSegmentCell && row->cellType() != PSLinkListCell)
    throw CommandError("choose: " + describeRow(*row, index) + " has no values to choose from");
  platform::Array values = PSListController::valuesForSpecifier(*row);
  platform::Array titles = PSListController::titlesForSpecifier(*row);
  std::vector<NamedItem> names;
  for (std::size_t i = 0; i < values.size(); ++i) names.push_back({choiceText(values[i]), i});
  for (std::size_t i = 0; i < values.size() && i < titles.size(); ++i)
    if (titles[i].isString()) names.push_back({*titles[i].string(), i});
  std::optional<std::size_t> found = matchName(names, choice, "choices");
  if (!found) {
    std::string known;
    for (std::size_t i = 0; i < values.size(); ++i) {
      known += known.empty() ? "" : ", ";
      known += i < titles.size() && titles[i].isString() ? *titles[i].string() + " (" + choiceText(values[i]) + ")"
                                                         : choiceText(values[i]);
    }
    throw CommandError("choose: " + describeRow(*row, index) + " has no value or title \"" + choice + "\"" +
                       (known.empty() ? " (it has no values)" : "; choices: " + known));
  }
  std::size_t pick = *found;
  if (row->cellType() == PSSegmentCell) {
    PSListController::storeValueForSpecifier(*row, values[pick]);
    return;
  }
  // A link-list row chooses through its list-items pane, as a tap there would.
  auto items = std::make_shared<PSListItemsController>();
  items->setParentController(current());
  items->setSpecifier(row);
  auto itemRows = items->specifiers();
  std::size_t seen = 0;
  for (std::size_t i = 0; itemRows && i < itemRows->size(); ++i) {
    if ((*itemRows)[i]->cellType() != PSListItemCell) continue;
    if (seen++ == pick) {
      items->listItemSelected(static_cast<long>(i));
      return;
    }
  }
  throw CommandError("choose: the list of " + describeRow(*row, index) + " does not offer \"" + choice + "\"");
}

std::vector<std::string> SettingsHost::choicesOf(long index, bool withValues) {
  std::vector<std::string> choices;
  try {
    if (stack_.empty()) return choices;
    auto row = rowAt(index, "choose");
    if (row->cellType() != PSSegmentCell && row->cellType() != PSLinkListCell) return choices;
    platform::Array values = PSListController::valuesForSpecifier(*row);
    platform::Array titles = PSListController::titlesForSpecifier(*row);
    for (std::size_t i = 0; i < values.size(); ++i) {
      bool titled = i < titles.size() && titles[i].isString();
      if (titled) choices.push_back(*titles[i].string());
      if (!titled || withValues) choices.push_back(choiceText(values[i]));
    }
  } catch (const std::exception&) {
    // A row that cannot say its choices offers none.
  }
  return choices;
}

void SettingsHost::storeFieldOf(UIResponder* responder) {
  auto rows = current() ? current()->specifiers() : nullptr;
  for (std::size_t i = 0; rows && i < rows->size(); ++i) {
    PSSpecifier& row = *(*rows)[i];
    auto cell = row.propertyForKey("cellObject").objectAs<PSTableCell>();
    if (!cell || !cell->textField() || row.setter().empty()) continue;
    if (cell.get() != responder && cell->textField() != responder) continue;
    const auto& text = cell->textField()->text();
    PSListController::storeValueForSpecifier(row, text ? platform::Value(*text) : platform::Value());
  }
}

void SettingsHost::focus(long index) {
  if (stack_.empty()) throw CommandError("focus: no pane is open");
  auto row = rowAt(index, "focus");
  if (row->cellType() != PSEditTextCell) throw CommandError("focus: " + describeRow(*row, index) + " is no text row");
  auto cell = PSTableCell::cellForSpecifier(*row);
  UIResponder* previous = UIResponder::firstResponder();
  if (previous == cell.get() || previous == cell->textField()) return;
  if (!cell->becomeFirstResponder()) throw CommandError("focus: " + describeRow(*row, index) + " cannot take the focus");
  if (previous) storeFieldOf(previous);
}

UITextField* SettingsHost::focusedField(const char* command) {
  UIResponder* responder = UIResponder::firstResponder();
  UITextField* field = nullptr;
  if (auto* cell = dynamic_cast<PSTableCell*>(responder)) field = cell->textField();
  if (!field) field = dynamic_cast<UITextField*>(responder);
  if (!field) throw CommandError(std::string(command) + ": no field is focused (focus a text row first)");
  return field;
}

void SettingsHost::type(const std::string& text) {
  std::string typed = decodeTypedText(text);
  UITextField* field = focusedField("type");
  field->setText(field->text().value_or("") + typed);
}

void SettingsHost::fill(const std::string& text) {
  std::string typed = decodeTypedText(text);
  focusedField("fill")->setText(typed);
}

void SettingsHost::dismiss() {
  UIResponder* responder = UIResponder::firstResponder();
  if (!responder) throw CommandError("dismiss: no field is focused");
  responder->resignFirstResponder();
  storeFieldOf(responder);
}

void SettingsHost::deleteRow(long index) {
  auto* editable = dynamic_cast<PSEditableListController*>(current());
  if (!editable) throw CommandError("delete: this pane has no editing mode");
  if (!editable->editable()) throw CommandError("delete: the pane is not in editing mode (use right to tap Edit)");
  auto row = rowAt(index, "delete");
  if (row->cellType() != PSTitleValueCell)
    throw CommandError("delete: " + describeRow(*row, index) + " cannot be deleted");
  editable->performDeletionActionForSpecifier(row.get());
}

}  // namespace settings_host
