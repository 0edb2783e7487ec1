#include "VLRPCustomizeHolidaysController.h"
#include "TextKeys.h"

#include "Foundation/NSNotificationCenter.h"
#include "InlineAddForm.h"
#include "WidgetData.h"
#include "platform/core/ObjC.h"
#include "platform/core/Strings.h"

namespace {

constexpr long kNameRow = 3;
constexpr long kDateRow = 4;
constexpr long kSolarGroup = 2;
constexpr long kLunarGroup = 3;
constexpr std::size_t kMaxNameLength = 3;  // UTF-16 code units
constexpr const char* kTypeKey = "_holiday_type";

}  // namespace

VLRPCustomizeHolidaysController::~VLRPCustomizeHolidaysController() {
  NSNotificationCenter::defaultCenter()->removeObserver(this);
}

std::shared_ptr<VLRPCustomizeHolidaysController::SpecifierArray> VLRPCustomizeHolidaysController::specifiers() {
  if (_specifiers) return _specifiers;
  using velloria::form::localized;

  auto rows = std::make_shared<SpecifierArray>();
  rows->push_back(PSSpecifier::groupSpecifierWithName(localized(*this, velloria::text::kHolidayForm)));
  auto type = PSSpecifier::preferenceSpecifierNamed(localized(*this, velloria::text::kHolidayType), this, "setHolidayType:",
                                                    "holidayType", "", PSSegmentCell, "");
  type->setValues(platform::Array{platform::Value(0), platform::Value(1)},
                  platform::Array{platform::Value(localized(*this, velloria::text::kSolarHoliday)),
                                  platform::Value(localized(*this, velloria::text::kLunarHoliday))});
  rows->push_back(type);
  auto hint = PSSpecifier::emptyGroupSpecifier();
  hint->setProperty(localized(*this, velloria::text::kHolidayDateFormatHint), "footerText");
  rows->push_back(hint);
  rows->push_back(velloria::form::textRow(*this, velloria::text::kHolidayNameLabel));
  auto date = velloria::form::textRow(*this, velloria::text::kHolidayValueLabel);
  date->setKeyboardType(UIKeyboardTypeNumberPad, 0, 1);
  rows->push_back(date);

  std::optional<platform::Dictionary> file = velloria::readWidgetData();
  _solarHolidays = velloria::widgetDictionary(file, velloria::kSolarFestivalsKey);
  appendGroup(*rows, velloria::text::kSolarHoliday, _solarHolidays, 0);
  _lunarHolidays = velloria::widgetDictionary(file, velloria::kLunarFestivalsKey);
  appendGroup(*rows, velloria::text::kLunarHoliday, _lunarHolidays, 1);
  _specifiers = rows;

  auto center = NSNotificationCenter::defaultCenter();
  center->addObserver(this, std::function<void()>([this] { keyboardWillShow(); }), UIKeyboardWillShowNotification);
  center->addObserver(this, std::function<void()>([this] { keyboardDidHide(); }), UIKeyboardDidHideNotification);
  return _specifiers;
}

void VLRPCustomizeHolidaysController::appendGroup(SpecifierArray& rows, const char* titleKey,
                                                  const platform::Dictionary& holidays, unsigned long type) {
  rows.push_back(PSSpecifier::groupSpecifierWithName(velloria::form::localized(*this, titleKey)));
  for (const auto& entry : holidays) rows.push_back(_holidaySpecifierWithDate(entry.first, type));
}

void VLRPCustomizeHolidaysController::_persistent() {
  if (velloria::writeWidgetData({{velloria::kSolarFestivalsKey, _unsavedSolar},
                                 {velloria::kLunarFestivalsKey, _unsavedLunar}})) {
    _unsavedSolar = platform::Dictionary();
    _unsavedLunar = platform::Dictionary();
  }
}

platform::Dictionary& VLRPCustomizeHolidaysController::unsavedFor(const platform::Dictionary& holidays) {
  return &holidays == &_lunarHolidays ? _unsavedLunar : _unsavedSolar;
}

void VLRPCustomizeHolidaysController::keyboardWillShow() { velloria::form::showDoneButton(*this, _editButton); }

void VLRPCustomizeHolidaysController::_editDone() { velloria::form::editDone(*this, kNameRow, kDateRow, _editButton); }

void VLRPCustomizeHolidaysController::keyboardDidHide() {
  using namespace velloria::form;
  std::shared_ptr<PSTableCell> nameCell = cellAt(*this, kNameRow);
  std::shared_ptr<PSTableCell> dateCell = cellAt(*this, kDateRow);
  if (isFocused(nameCell.get()) || isFocused(dateCell.get())) return;
  restoreEditButton(*this, _editButton);

  std::string name = trimmedText(nameCell.get());
  std::string date = trimmedText(dateCell.get());
  if (name.empty() && date.empty()) return;
  if (name.empty() || date.empty()) return showError(*this, velloria::text::kEmptyHolidayNameOrDate);
  // A cut inside a surrogate pair would leave half a character, which no
  // property list can hold: the whole pair is left out instead.
  name = platform::substringToUTF16Index(name, kMaxNameLength);

  bool lunar = _type.intValue() != 0;
  platform::Dictionary& holidays = lunar ? _lunarHolidays : _solarHolidays;
  if (holidays.contains(date)) {
    clearField(dateCell.get());
    if (!lunar) dateCell->becomeFirstResponder();
    return showError(*this, velloria::text::kDuplicatedHolidayDate);
  }
  // Typed text is judged as it would be stored, just before the store.
  if (!storable(name)) return refuseField(*this, nameCell.get(), velloria::text::kUnstorableText);
  if (!storable(date)) return refuseField(*this, dateCell.get(), velloria::text::kUnstorableText);

  clearField(nameCell.get());
  clearField(dateCell.get());
  holidays.set(date, name);
  unsavedFor(holidays).set(date, name);
  insertSpecifierAtEndOfGroup(_holidaySpecifierWithDate(date, lunar ? 1 : 0), lunar ? kLunarGroup : kSolarGroup,
                              true);
  _persistent();
}

std::shared_ptr<PSSpecifier> VLRPCustomizeHolidaysController::_holidaySpecifierWithDate(const std::string& date,
                                                                                      unsigned long type) {
  auto row = PSSpecifier::preferenceSpecifierNamed(date, this, "", "holidayForSpecifier:", "", PSTitleValueCell, "");
  row->setUserInfo(platform::Dictionary{{kTypeKey, platform::Value(type)}});
  return row;
}

platform::Dictionary* VLRPCustomizeHolidaysController::_holidaysForSpecifier(PSSpecifier* specifier) {
  std::uint64_t type = 0;
  const platform::Dictionary* info = specifier ? specifier->userInfo().dictionary() : nullptr;
  if (const platform::Value* entry = info ? info->find(kTypeKey) : nullptr)
    type = static_cast<std::uint64_t>(entry->int64Value());
  if (type == 1) return &_lunarHolidays;
  if (type == 0) return &_solarHolidays;
  return nullptr;
}

platform::Value VLRPCustomizeHolidaysController::holidayForSpecifier(PSSpecifier* specifier) {
  platform::Dictionary* holidays = _holidaysForSpecifier(specifier);
  const platform::Value* name = holidays ? holidays->find(specifier->name()) : nullptr;
  return name ? *name : platform::Value();
}

bool VLRPCustomizeHolidaysController::performDeletionActionForSpecifier(PSSpecifier* specifier) {
  if (platform::Dictionary* holidays = _holidaysForSpecifier(specifier)) {
    if (holidays->remove(specifier->name())) unsavedFor(*holidays).set(specifier->name(), platform::Value());
    _persistent();
  }
  return PSEditableListController::performDeletionActionForSpecifier(specifier);
}

void VLRPCustomizeHolidaysController::setHolidayType(const platform::Value& value) { _type = value; }

platform::Value VLRPCustomizeHolidaysController::holidayType() { return _type.isNil() ? platform::Value(0) : _type; }

static platform::ClassRegistrar<VLRPCustomizeHolidaysController> registrar(
    "VLRPCustomizeHolidaysController", "PSEditableListController",
    {{"_persistent", &VLRPCustomizeHolidaysController::_persistent},
     {"keyboardWillShow", &VLRPCustomizeHolidaysController::keyboardWillShow},
     {"keyboardDidHide", &VLRPCustomizeHolidaysController::keyboardDidHide},
     {"_editDone", &VLRPCustomizeHolidaysController::_editDone},
     {"holidayForSpecifier:", &VLRPCustomizeHolidaysController::holidayForSpecifier},
     {"performDeletionActionForSpecifier:", &VLRPCustomizeHolidaysController::performDeletionActionForSpecifier},
     {"setHolidayType:", &VLRPCustomizeHolidaysController::setHolidayType},
     {"holidayType", &VLRPCustomizeHolidaysController::holidayType}});
