// List controllers: rows, their structure, the per-row store and the
// binding of rows to their targets (Preferences/PSListController.h).
#include "Preferences/PSListController.h"

#include <algorithm>

#include "Foundation/NSBundle.h"
#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSUserDefaults.h"
#include "Preferences/PSTableCell.h"
#include "platform/core/ObjC.h"
#include "platform/core/RunLoop.h"

namespace {

const platform::ClassRegistrar<PSListController> registrar(
    "PSListController", "",
    {{"setPreferenceValue:specifier:", &PSListController::setPreferenceValue},
     {"readPreferenceValue:", &PSListController::readPreferenceValue}});

const std::string* stringProperty(const PSSpecifier& specifier, std::string_view key) {
  const platform::Value* v = specifier.properties().find(key);
  return v ? v->string() : nullptr;
}

// Whether a value can be written into a property list: live objects and
// nils inside collections cannot.
bool isPropertyListValue(const platform::Value& value) {
  if (value.isNil() || value.isObject()) return false;
  if (const auto* array = value.array()) return std::all_of(array->begin(), array->end(), isPropertyListValue);
  if (const auto* dict = value.dictionary())
    return std::all_of(dict->begin(), dict->end(), [](const auto& entry) { return isPropertyListValue(entry.second); });
  return true;
}

}  // namespace

PSListController::PSListController() = default;
PSListController::~PSListController() = default;

std::shared_ptr<PSListController::SpecifierArray> PSListController::specifiers() { return _specifiers; }

void PSListController::reloadSpecifiers() {
  _specifiers.reset();
  specifiers();
}

std::shared_ptr<PSSpecifier> PSListController::specifierForID(std::string_view id) const {
  if (!_specifiers) return nullptr;
  for (const auto& row : *_specifiers)
    if (row && row->identifier() == id) return row;
  return nullptr;
}

std::shared_ptr<PSSpecifier> PSListController::specifierAtIndex(long index) const {
  if (!_specifiers || index < 0 || static_cast<std::size_t>(index) >= _specifiers->size()) return nullptr;
  return (*_specifiers)[static_cast<std::size_t>(index)];
}

long PSListController::indexOfSpecifier(const PSSpecifier* specifier) const {
  if (!_specifiers || !specifier) return -1;
  for (std::size_t i = 0; i < _specifiers->size(); ++i)
    if ((*_specifiers)[i].get() == specifier) return static_cast<long>(i);
  return -1;
}

namespace {

// Flat indexes at which each group starts: group rows, and row 0 when the
// list does not open with a group row.
std::vector<long> groupStarts(const PSListController::SpecifierArray& rows) {
  std::vector<long> starts;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    bool isGroup = rows[i] && rows[i]->cellType() == PSGroupCell;
    if (isGroup || i == 0) starts.push_back(static_cast<long>(i));
  }
  return starts;
}

}  // namespace

long PSListController::numberOfGroups() const {
  return _specifiers ? static_cast<long>(groupStarts(*_specifiers).size()) : 0;
}

bool PSListController::groupRange(long group, long* first, long* end) const {
  if (!_specifiers || group < 0) return false;
  std::vector<long> starts = groupStarts(*_specifiers);
  if (static_cast<std::size_t>(group) >= starts.size()) return false;
  if (first) *first = starts[static_cast<std::size_t>(group)];
  if (end) {
    *end = static_cast<std::size_t>(group) + 1 < starts.size() ? starts[static_cast<std::size_t>(group) + 1]
                                                             : static_cast<long>(_specifiers->size());
  }
  return true;
}

void PSListController::insertSpecifier(std::shared_ptr<PSSpecifier> specifier, long index, bool animated) {
  (void)animated;
  if (!specifier) return;
  if (!_specifiers) _specifiers = std::make_shared<SpecifierArray>();
  long count = static_cast<long>(_specifiers->size());
  index = std::clamp(index, 0L, count);
  _specifiers->insert(_specifiers->begin() + index, std::move(specifier));
}

void PSListController::insertSpecifierAtEndOfGroup(std::shared_ptr<PSSpecifier> specifier, long group,
                                                   bool animated) {
  long first = 0, end = 0;
  if (!groupRange(group, &first, &end)) return;
  insertSpecifier(std::move(specifier), end, animated);
}

void PSListController::removeSpecifierAtIndex(long index, bool animated) {
  (void)animated;
  if (!_specifiers || index < 0 || index >= static_cast<long>(_specifiers->size())) return;
  _specifiers->erase(_specifiers->begin() + index);
}

void PSListController::removeSpecifier(const PSSpecifier* specifier, bool animated) {
  long index = indexOfSpecifier(specifier);
  if (index >= 0) removeSpecifierAtIndex(index, animated);
}

void PSListController::setPreferenceValue(const platform::Value& value, PSSpecifier* specifier) {
  if (!specifier) return;
  const std::string* domain = stringProperty(*specifier, "defaults");
  const std::string* key = stringProperty(*specifier, "key");
  // A value no property list can hold is refused, and nothing is announced.
  if (!value.isNil() && !isPropertyListValue(value)) return;
  if (domain && key && !domain->empty()) {
    auto defaults = NSUserDefaults::standardUserDefaults();
    platform::Dictionary dict = defaults->persistentDomainForName(*domain).value_or(platform::Dictionary());
    if (value.isNil()) {
      dict.remove(*key);
    } else {
      dict.set(*key, value);
    }
    defaults->setPersistentDomain(dict, *domain);
    defaults->synchronize();
  }
  // Like a cross-process notification, it reaches observers after the
  // current handler returns.
  if (const std::string* note = stringProperty(*specifier, "PostNotification"); note && !note->empty()) {
    platform::RunLoop::enqueue(
        [name = *note] { NSNotificationCenter::defaultCenter()->postNotificationName(name); });
  }
}

platform::Value PSListController::readPreferenceValue(PSSpecifier* specifier) {
  if (!specifier) return {};
  const std::string* domain = stringProperty(*specifier, "defaults");
  const std::string* key = stringProperty(*specifier, "key");
  if (domain && key && !domain->empty()) {
    auto dict = NSUserDefaults::standardUserDefaults()->persistentDomainForName(*domain);
    if (dict) {
      if (const platform::Value* stored = dict->find(*key)) return *stored;
    }
  }
  return specifier->propertyForKey("default");
}

platform::Value PSListController::valueForSpecifier(PSSpecifier& specifier) {
  platform::Object* target = specifier.target();
  if (!target) return {};
  if (!specifier.getter().empty()) return platform::performSelector(*target, specifier.getter(), {}, &specifier);
  if (auto* controller = dynamic_cast<PSListController*>(target); controller && stringProperty(specifier, "key"))
    return controller->readPreferenceValue(&specifier);
  return {};
}

bool PSListController::storeValueForSpecifier(PSSpecifier& specifier, const platform::Value& value) {
  platform::Object* target = specifier.target();
  if (!target || specifier.setter().empty()) return false;
  platform::performSelector(*target, specifier.setter(), value, &specifier);
  return true;
}

namespace {

platform::Array arrayFrom(PSSpecifier& specifier, const std::string& dataSource, const platform::Value& own) {
  if (!dataSource.empty() && specifier.target()) {
    platform::Value got = platform::performSelector(*specifier.target(), dataSource, {}, &specifier);
    if (const auto* array = got.array()) return *array;
  }
  if (const auto* array = own.array()) return *array;
  return {};
}

}  // namespace

platform::Array PSListController::valuesForSpecifier(PSSpecifier& specifier) {
  return arrayFrom(specifier, specifier.valuesDataSource(), specifier.values());
}

platform::Array PSListController::titlesForSpecifier(PSSpecifier& specifier) {
  return arrayFrom(specifier, specifier.titlesDataSource(), specifier.titles());
}

std::optional<std::string> PSListController::titleForValue(PSSpecifier& specifier, const platform::Value& value) {
  platform::Array values = valuesForSpecifier(specifier);
  auto found = std::find(values.begin(), values.end(), value);
  if (found == values.end()) return std::nullopt;
  platform::Array titles = titlesForSpecifier(specifier);
  std::size_t index = static_cast<std::size_t>(found - values.begin());
  if (index >= titles.size() || !titles[index].string()) return std::nullopt;
  return *titles[index].string();
}

bool PSListController::switchChanged(PSSpecifier& specifier, bool on) {
  auto control = specifier.propertyForKey("control").objectAs<UISwitch>();
  if (!control) {
    PSTableCell::cellForSpecifier(specifier);
    control = specifier.propertyForKey("control").objectAs<UISwitch>();
    if (!control) {
      control = std::make_shared<UISwitch>();
      specifier.setProperty(platform::Value(std::static_pointer_cast<platform::Object>(control)), "control");
    }
  }
  control->setOn(on);
  return storeValueForSpecifier(specifier, platform::Value(on));
}

bool PSListController::performAction(PSSpecifier& specifier) {
  if (!specifier.target() || specifier.action().empty()) return false;
  platform::performSelector(*specifier.target(), specifier.action(), {}, &specifier);
  return true;
}

std::shared_ptr<PSListController> PSListController::detailControllerForSpecifier(
    const std::shared_ptr<PSSpecifier>& specifier) {
  if (!specifier) return nullptr;
  std::string className = specifier->detailControllerClass();
  if (className.empty() && specifier->cellType() == PSLinkListCell) className = "PSListItemsController";
  if (className.empty()) return nullptr;
  std::string where = specifier->origin().empty() ? std::string() : specifier->origin() + ": ";
  if (!platform::ClassRegistry::exists(className))
    throw platform::BindingError(where + "unknown detail class \"" + className + "\"");
  auto controller = std::dynamic_pointer_cast<PSListController>(platform::ClassRegistry::create(className));
  if (!controller) throw platform::BindingError(where + "detail class \"" + className + "\" is not a list controller");
  controller->setParentController(this);
  controller->setSpecifier(specifier);
  controller->setTitle(specifier->name());
  controller->setRootController(rootController());
  return controller;
}

std::shared_ptr<NSBundle> PSListController::bundle() const {
  return NSBundle::bundleForClass(platform::ClassRegistry::classNameOf(*this));
}
