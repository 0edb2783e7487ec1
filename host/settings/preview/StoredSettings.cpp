#include "StoredSettings.h"

#include <algorithm>
#include <cmath>

#include "CoreFoundation/CFBridge.h"
#include "Foundation/NSBundle.h"
#include "Foundation/NSDictionary.h"
#include "Velloria/QHPreferences.h"
#include "WidgetData.h"
#include "platform/prefs/PreferenceStore.h"

namespace settings_preview {
namespace {

constexpr const char* kDomain = "com.quietharbor.velloria";
constexpr const char* kBundlePath = "/Library/PreferenceBundles/VelloriaSettings.bundle";
constexpr const char* kViewTypeKey = "viewType";
constexpr const char* kShowLunarKey = "showLunar";
constexpr const char* kCalendarsKey = "calendars";

// The "items" of one of the settings bundle's plists.
platform::Array bundleItems(const std::string& plist) {
  std::shared_ptr<NSBundle> bundle = NSBundle::bundleWithPath(kBundlePath);
  std::optional<std::string> path = bundle ? bundle->pathForResource(plist, "plist") : std::nullopt;
  std::optional<platform::Dictionary> root = path ? NSDictionary::dictionaryWithContentsOfFile(*path) : std::nullopt;
  const platform::Value* items = root ? root->find("items") : nullptr;
  return items && items->array() ? *items->array() : platform::Array();
}

// The "default" of the Main plist's row that stores `key`.
platform::Value rowDefault(const platform::Array& rows, const std::string& key) {
  for (const platform::Value& row : rows) {
    const platform::Dictionary* entry = row.dictionary();
    const platform::Value* rowKey = entry ? entry->find("key") : nullptr;
    if (!rowKey || !(*rowKey == platform::Value(key))) continue;
    const platform::Value* fallback = entry->find("default");
    return fallback ? *fallback : platform::Value();
  }
  return {};
}

// A switch's or a choice's number: booleans and numbers count, anything else
// is the fallback.
double numberOr(const platform::Value& value, double fallback) {
  if (value.isBoolean()) return *value.boolean() ? 1 : 0;
  if (value.isNumber()) return value.doubleValue();
  return fallback;
}

std::uint32_t component(CGFloat value) {
  return static_cast<std::uint32_t>(std::lround(std::clamp(value, 0.0, 1.0) * 255.0));
}

// The colour the exported getter gives for a key, with the item's default.
std::uint32_t storedColor(const std::string& key, const platform::Value& fallback) {
  std::uint32_t defaultValue = 0;
  if (const std::string* text = fallback.string()) hextoint(text->c_str(), &defaultValue);
  void* pool = objc_autoreleasePoolPush();
  platform::CFHolder cfKey(platform::createCFObject(platform::Value(key)));
  CGFloat r = 0, g = 0, b = 0;
  QHPreferenceColorForKey(cfKey.as<CFStringRef>(), defaultValue)->getRed(&r, &g, &b, nullptr);
  objc_autoreleasePoolPop(pool);
  return component(r) << 16 | component(g) << 8 | component(b);
}

std::optional<std::vector<std::string>> identifiers(const platform::Value& value) {
  if (!value.array()) return std::nullopt;
  std::vector<std::string> ids;
  for (const platform::Value& element : *value.array()) {
    if (!element.string()) return std::nullopt;
    ids.push_back(*element.string());
  }
  return ids;
}

}  // namespace

StoredSettings readStoredSettings() {
  StoredSettings settings;
  platform::PreferenceDomain& domain = platform::PreferenceDomain::named(kDomain);
  domain.synchronize();
  platform::Array mainRows = bundleItems("Main");
  settings.weekView = numberOr(domain.copyValue(kViewTypeKey), numberOr(rowDefault(mainRows, kViewTypeKey), 0)) == 1;
  settings.showLunar =
      numberOr(domain.copyValue(kShowLunarKey), numberOr(rowDefault(mainRows, kShowLunarKey), 1)) != 0;
  settings.calendars = identifiers(domain.copyValue(kCalendarsKey));

  for (const platform::Value& item : bundleItems("ColorSettings")) {
    const platform::Dictionary* entry = item.dictionary();
    const platform::Value* key = entry ? entry->find("key") : nullptr;
    if (!key || !key->string()) continue;
    const platform::Value* fallback = entry->find("default");
    settings.colors.emplace_back(*key->string(), storedColor(*key->string(), fallback ? *fallback : platform::Value()));
  }

  std::optional<platform::Dictionary> data = velloria::readWidgetData();
  settings.solarHolidays = velloria::widgetDictionary(data, velloria::kSolarFestivalsKey);
  settings.lunarHolidays = velloria::widgetDictionary(data, velloria::kLunarFestivalsKey);
  return settings;
}

}  // namespace settings_preview
