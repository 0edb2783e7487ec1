#include "VLRPCustomizeColorsController.h"
#include "TextKeys.h"

#include "ColorItems.h"
#include "Foundation/NSNotificationCenter.h"
#include "InlineAddForm.h"
#include "Preferences/PSTextEditingPane.h"
#include "Velloria/QHPreferences.h"
#include "WidgetData.h"
#include "CoreFoundation/CFBridge.h"
#include "platform/core/ObjC.h"
#include "platform/plist/PropertyList.h"
#include "platform/core/Strings.h"

namespace {

constexpr long kNameRow = 1;
constexpr long kValueRow = 2;
constexpr long kColorsGroupRow = 3;
constexpr long kColorsGroup = 1;

// A value of one to eight bytes is refused when its trailing hex digits need
// more than 24 bits; the scan's status is not consulted, so longer values
// (not scanned) and values without trailing digits pass.
bool acceptableColorValue(const std::string& value) {
  uint32_t result = 0;
  hextoint(value.c_str(), &result);
  return (result & 0xFF000000u) == 0;
}

}  // namespace

VLRPCustomizeColorsController::~VLRPCustomizeColorsController() {
  NSNotificationCenter::defaultCenter()->removeObserver(this);
}

std::shared_ptr<VLRPCustomizeColorsController::SpecifierArray> VLRPCustomizeColorsController::specifiers() {
  if (_specifiers && !_specifiers->empty()) return _specifiers;
  using velloria::form::localized;

  auto rows = std::make_shared<SpecifierArray>();
  auto form = PSSpecifier::groupSpecifierWithName(localized(*this, velloria::text::kColorForm));
  form->setProperty(localized(*this, velloria::text::kColorFormatHint), "footerText");
  rows->push_back(form);
  rows->push_back(velloria::form::textRow(*this, velloria::text::kColorNameLabel));
  rows->push_back(velloria::form::textRow(*this, velloria::text::kColorValueLabel));

  _colors = velloria::widgetDictionary(velloria::readWidgetData(), velloria::kExtraColorsKey);
  if (!_colors.empty()) {
    rows->push_back(PSSpecifier::groupSpecifierWithName(localized(*this, velloria::text::kAddedColors)));
    for (const auto& entry : _colors) rows->push_back(colorSpecifier(entry.first));
  }
  _specifiers = rows;

  auto center = NSNotificationCenter::defaultCenter();
  center->addObserver(this, std::function<void()>([this] { keyboardDidShow(); }), UIKeyboardDidShowNotification);
  center->addObserver(this, std::function<void()>([this] { keyboardDidHide(); }), UIKeyboardDidHideNotification);
  return _specifiers;
}

std::shared_ptr<PSSpecifier> VLRPCustomizeColorsController::colorSpecifier(const std::string& name) {
  return PSSpecifier::preferenceSpecifierNamed(name, this, "", "colorValueForSpecifier:", "", PSTitleValueCell, "");
}

void VLRPCustomizeColorsController::_persistent() {
  if (velloria::writeWidgetData({{velloria::kExtraColorsKey, _unsavedColors}})) _unsavedColors = platform::Dictionary();
}

void VLRPCustomizeColorsController::keyboardDidShow() { velloria::form::showDoneButton(*this, _editButton); }

void VLRPCustomizeColorsController::keyboardDidHide() {
  using namespace velloria::form;
  std::shared_ptr<PSTableCell> nameCell = cellAt(*this, kNameRow);
  std::shared_ptr<PSTableCell> valueCell = cellAt(*this, kValueRow);
  if (isFocused(nameCell.get()) || isFocused(valueCell.get())) return;
  restoreEditButton(*this, _editButton);

  std::string name = trimmedText(nameCell.get());
  std::string value = trimmedText(valueCell.get());
  if (name.empty() || value.empty()) return;

  // Refusals clear and refocus the faulty field before the alert shows.
  if (_colors.contains(name)) return refuseField(*this, nameCell.get(), velloria::text::kDuplicatedColorName);
  if (!acceptableColorValue(value)) return refuseField(*this, valueCell.get(), velloria::text::kInvalidColorValue);
  // Typed text is judged just before it is stored. (Upper-casing brings in
  // no control character, so the value is judged as typed.)
  if (!storable(name)) return refuseField(*this, nameCell.get(), velloria::text::kUnstorableText);
  if (!storable(value)) return refuseField(*this, valueCell.get(), velloria::text::kUnstorableText);

  clearField(nameCell.get());
  clearField(valueCell.get());
  std::string stored = platform::uppercaseString(value);
  _colors.set(name, stored);
  _unsavedColors.set(name, stored);
  _persistent();

  if (numberOfGroups() == 1) {
    auto group = PSSpecifier::groupSpecifierWithName(localized(*this, velloria::text::kAddedColors));
    insertSpecifier(group, _specifiers ? static_cast<long>(_specifiers->size()) : 0, true);
  }
  insertSpecifierAtEndOfGroup(colorSpecifier(name), kColorsGroup, true);
}

void VLRPCustomizeColorsController::_editDone() { velloria::form::editDone(*this, kNameRow, kValueRow, _editButton); }

platform::Value VLRPCustomizeColorsController::colorValueForSpecifier(PSSpecifier* specifier) {
  if (!specifier) return {};
  const platform::Value* value = _colors.find(specifier->name());
  return value ? *value : platform::Value();
}

void VLRPCustomizeColorsController::resetColorSettingsHolding(const std::string& value) {
  platform::Array items = velloria::colorItems(*this);
  void* pool = objc_autoreleasePoolPush();
  for (const platform::Value& item : items) {
    const platform::Dictionary* entry = item.dictionary();
    const platform::Value* key = entry ? entry->find("key") : nullptr;
    // Rows of the list that are no colour setting (groups) carry no key.
    if (!key || !key->string()) continue;
    platform::CFHolder cfKey(platform::createCFObject(*key));
    if (!cfKey.get()) continue;
    std::optional<std::string> stored = platform::stringOfCF(QHPreferenceStringForKey(cfKey.as<CFStringRef>()));
    if (stored != value) continue;
    const platform::Value* fallback = entry->find("default");
    platform::CFHolder cfDefault(fallback ? platform::createCFObject(*fallback) : nullptr);
    QHPreferenceSetStringForKey(cfKey.as<CFStringRef>(), cfDefault.as<CFStringRef>());
  }
  objc_autoreleasePoolPop(pool);
}

bool VLRPCustomizeColorsController::performDeletionActionForSpecifier(PSSpecifier* specifier) {
  if (specifier) {
    const platform::Value* value = _colors.find(specifier->name());
    if (value && value->string()) resetColorSettingsHolding(*value->string());
    if (_colors.remove(specifier->name())) _unsavedColors.set(specifier->name(), platform::Value());
    _persistent();
    std::shared_ptr<PSSpecifier> group = specifierAtIndex(kColorsGroupRow);
    if (_colors.empty() && group && group->cellType() == PSGroupCell) removeSpecifierAtIndex(kColorsGroupRow, true);
  }
  return PSEditableListController::performDeletionActionForSpecifier(specifier);
}

static platform::ClassRegistrar<VLRPCustomizeColorsController> registrar(
    "VLRPCustomizeColorsController", "PSEditableListController",
    {{"_persistent", &VLRPCustomizeColorsController::_persistent},
     {"keyboardDidShow", &VLRPCustomizeColorsController::keyboardDidShow},
     {"keyboardDidHide", &VLRPCustomizeColorsController::keyboardDidHide},
     {"_editDone", &VLRPCustomizeColorsController::_editDone},
     {"colorValueForSpecifier:", &VLRPCustomizeColorsController::colorValueForSpecifier},
     {"performDeletionActionForSpecifier:", &VLRPCustomizeColorsController::performDeletionActionForSpecifier}});
