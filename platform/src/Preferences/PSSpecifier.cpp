// Rows of list controllers (Preferences/PSSpecifier.h).
#include "Preferences/PSSpecifier.h"

std::shared_ptr<PSSpecifier> PSSpecifier::preferenceSpecifierNamed(std::string name, platform::Object* target,
                                                                   std::string setter, std::string getter,
                                                                   std::string detail, PSCellType cell,
                                                                   std::string edit) {
  auto specifier = std::make_shared<PSSpecifier>();
  specifier->name_ = std::move(name);
  specifier->target_ = target;
  specifier->setter_ = std::move(setter);
  specifier->getter_ = std::move(getter);
  specifier->detail_ = std::move(detail);
  specifier->cell_ = cell;
  specifier->edit_ = std::move(edit);
  return specifier;
}

std::shared_ptr<PSSpecifier> PSSpecifier::groupSpecifierWithName(std::string name) {
  return preferenceSpecifierNamed(std::move(name), nullptr, "", "", "", PSGroupCell, "");
}

std::shared_ptr<PSSpecifier> PSSpecifier::emptyGroupSpecifier() { return groupSpecifierWithName(""); }

std::string PSSpecifier::identifier() const {
  const platform::Value* id = properties_.find("id");
  return id && id->string() ? *id->string() : name_;
}

platform::Value PSSpecifier::propertyForKey(std::string_view key) const {
  const platform::Value* found = properties_.find(key);
  return found ? *found : platform::Value();
}

void PSSpecifier::setProperty(platform::Value value, std::string key) {
  if (value.isNil()) {
    properties_.remove(key);
  } else {
    properties_.set(std::move(key), std::move(value));
  }
}

void PSSpecifier::removePropertyForKey(std::string_view key) { properties_.remove(key); }

void PSSpecifier::setValues(platform::Value values, platform::Value titles, platform::Value shortTitles) {
  values_ = std::move(values);
  titles_ = std::move(titles);
  shortTitles_ = std::move(shortTitles);
}

void PSSpecifier::setKeyboardType(int keyboardType, int autoCaps, int autoCorrection) {
  keyboardType_ = keyboardType;
  autoCaps_ = autoCaps;
  autoCorrection_ = autoCorrection;
}

bool PSSpecifier::enabled() const {
  const platform::Value* enabled = properties_.find("enabled");
  if (!enabled) return true;
  if (const bool* b = enabled->boolean()) return *b;
  if (enabled->isNumber()) return enabled->doubleValue() != 0;
  return true;
}
