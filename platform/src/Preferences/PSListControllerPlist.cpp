// Building rows from a bundle plist: loadSpecifiersFromPlistName:target:.
#include <array>
#include <utility>

#include "Foundation/NSBundle.h"
#include "Preferences/PSListController.h"
#include "platform/os/DeviceRoot.h"
#include "platform/core/ObjC.h"
#include "platform/plist/PropertyList.h"

namespace {

constexpr std::array<std::pair<std::string_view, PSCellType>, 11> kCellTypes{{
    {"PSGroupCell", PSGroupCell},
    {"PSLinkCell", PSLinkCell},
    {"PSLinkListCell", PSLinkListCell},
    {"PSListItemCell", PSListItemCell},
    {"PSTitleValueCell", PSTitleValueCell},
    {"PSSliderCell", PSSliderCell},
    {"PSSwitchCell", PSSwitchCell},
    {"PSStaticTextCell", PSStaticTextCell},
    {"PSEditTextCell", PSEditTextCell},
    {"PSSegmentCell", PSSegmentCell},
    {"PSButtonCell", PSButtonCell},
}};

// UIKeyboardType numbers by the names plists use.
constexpr std::array<std::pair<std::string_view, int>, 8> kKeyboards{{
    {"Default", 0},
    {"Alphabet", 1},
    {"NumbersAndPunctuation", 2},
    {"URL", 3},
    {"NumberPad", 4},
    {"PhonePad", 5},
    {"EmailAddress", 7},
    {"DecimalPad", 8},
}};

// UITextAutocapitalizationType numbers.
constexpr std::array<std::pair<std::string_view, int>, 4> kAutoCaps{{
    {"None", 0},
    {"Words", 1},
    {"Sentences", 2},
    {"AllCharacters", 3},
}};

template <class T, std::size_t N>
const T* lookup(const std::array<std::pair<std::string_view, T>, N>& table, std::string_view name) {
  for (const auto& [key, value] : table)
    if (key == name) return &value;
  return nullptr;
}

// Turns one row dictionary into a row, checking every name it binds.
class RowBuilder {
 public:
  RowBuilder(std::string plist, const NSBundle* bundle, std::string table, platform::Object* target)
      : plist_(std::move(plist)), bundle_(bundle), table_(std::move(table)), target_(target) {}

  std::shared_ptr<PSSpecifier> build(const platform::Value& item, std::size_t index) {
    where_ = plist_ + ", row " + std::to_string(index);
    const platform::Dictionary* row = item.dictionary();
    if (!row) fail("not a dictionary");
    if (const std::string* label = string(*row, "label")) where_ += " (\"" + *label + "\")";

    const std::string* cellName = string(*row, "cell");
    const PSCellType* cell = cellName ? lookup(kCellTypes, *cellName) : nullptr;
    if (!cell) fail(cellName ? "unknown cell type \"" + *cellName + "\"" : std::string("no cell type"));

    auto specifier = std::make_shared<PSSpecifier>();
    specifier->setOrigin(where_);
    specifier->setCellType(*cell);
    specifier->setTarget(target_);
    for (const auto& [key, value] : *row) specifier->setProperty(value, key);
    if (const std::string* label = string(*row, "label")) specifier->setName(localize(*label));
    if (const std::string* footer = string(*row, "footerText")) specifier->setProperty(localize(*footer), "footerText");

    if (const std::string* get = selector(*row, "get", "getter")) specifier->setGetter(*get);
    if (const std::string* set = selector(*row, "set", "setter")) specifier->setSetter(*set);
    if (const std::string* action = selector(*row, "action", "action")) specifier->setAction(*action);
    if (const std::string* ds = selector(*row, "valuesDataSource", "values data source")) specifier->setValuesDataSource(*ds);
    if (const std::string* ds = selector(*row, "titlesDataSource", "titles data source")) specifier->setTitlesDataSource(*ds);
    bool holdsValue = *cell != PSGroupCell && *cell != PSLinkCell && *cell != PSButtonCell;
    if (holdsValue && string(*row, "key") && target_) {
      if (specifier->getter().empty() && platform::respondsToSelector(*target_, "readPreferenceValue:"))
        specifier->setGetter("readPreferenceValue:");
      if (specifier->setter().empty() && platform::respondsToSelector(*target_, "setPreferenceValue:specifier:"))
        specifier->setSetter("setPreferenceValue:specifier:");
    }

    if (const std::string* detail = string(*row, "detail")) specifier->setDetailControllerClass(*detail);
    if (*cell == PSEditTextCell) specifier->setEditPaneClass("PSTextEditingPane");

    const platform::Value* values = row->find("validValues");
    const platform::Value* titles = row->find("validTitles");
    if (values || titles) {
      platform::Value localizedTitles;
      if (titles && titles->array()) {
        platform::Array list;
        for (const auto& title : *titles->array()) list.push_back(title.string() ? localize(*title.string()) : title);
        localizedTitles = platform::Value(std::move(list));
      }
      specifier->setValues(values ? *values : platform::Value(), localizedTitles);
    }

    int keyboard = 0, caps = 0, correction = 0;
    if (const std::string* name = string(*row, "keyboard"))
      if (const int* k = lookup(kKeyboards, *name)) keyboard = *k;
    if (const std::string* name = string(*row, "autoCaps"))
      if (const int* c = lookup(kAutoCaps, *name)) caps = *c;
    if (const platform::Value* no = row->find("noAutoCorrect"); no && no->boolean() && *no->boolean())
      correction = 1;  // UITextAutocorrectionTypeNo
    specifier->setKeyboardType(keyboard, caps, correction);
    return specifier;
  }

 private:
  [[noreturn]] void fail(const std::string& what) const { throw platform::BindingError(where_ + ": " + what); }

  static const std::string* string(const platform::Dictionary& row, std::string_view key) {
    const platform::Value* v = row.find(key);
    return v ? v->string() : nullptr;
  }

  // A selector named by the row, checked against the target's class.
  const std::string* selector(const platform::Dictionary& row, std::string_view key, const char* role) const {
    const std::string* name = string(row, key);
    if (!name || name->empty()) return nullptr;
    if (!target_) fail(std::string(role) + " \"" + *name + "\" has no target");
    if (!platform::respondsToSelector(*target_, *name)) {
      std::string cls = platform::ClassRegistry::classNameOf(*target_);
      fail("unknown " + std::string(role) + " \"" + *name + "\" of class " +
           (cls.empty() ? std::string("(unregistered)") : cls));
    }
    return name;
  }

  std::string localize(const std::string& key) const {
    return bundle_ ? bundle_->localizedStringForKey(key, std::string(), table_) : key;
  }

  std::string plist_;
  const NSBundle* bundle_;
  std::string table_;
  platform::Object* target_;
  std::string where_;
};

}  // namespace

std::shared_ptr<PSListController::SpecifierArray> PSListController::loadSpecifiersFromPlistName(
    const std::string& name, platform::Object* target) {
  auto rows = std::make_shared<SpecifierArray>();
  std::shared_ptr<NSBundle> bundle = this->bundle();
  if (!bundle) return rows;
  std::optional<std::string> path = bundle->pathForResource(name, "plist");
  if (!path) return rows;
  std::optional<platform::Dictionary> root = platform::readDictionaryFile(platform::resolveDevicePath(*path));
  if (!root) return rows;

  const platform::Value* strings = root->find("strings");
  std::string table = strings && strings->string() ? *strings->string() : name;
  if (const platform::Value* title = root->find("title"); title && title->string() && this->title().empty())
    setTitle(bundle->localizedStringForKey(*title->string(), std::string(), table));

  const platform::Value* items = root->find("items");
  if (!items || !items->array()) return rows;
  RowBuilder builder(name + ".plist", bundle.get(), table, target);
  for (std::size_t i = 0; i < items->array()->size(); ++i) rows->push_back(builder.build((*items->array())[i], i));
  return rows;
}
