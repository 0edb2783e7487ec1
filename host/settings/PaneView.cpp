// What the host shows: the current pane drawn as text, and `dump`'s JSON.
#include <cstdio>
#include <optional>

#include "HostWords.h"
#include "Json.h"
#include "SettingsHost.h"
#include "TextLayout.h"
#include "platform/core/ObjC.h"
#include "platform/core/TerminalText.h"
#include "platform/os/Terminal.h"

namespace settings_host {
namespace {

// The value a row shows: its getter's (or its stored value through the
// framework's store); a text row without either shows its field, a switch
// without either its switch, a list item whether it is the checked one.
std::optional<platform::Value> shownValue(PSSpecifier& row, PSListController* pane, long index) {
  if (row.cellType() == PSGroupCell) return std::nullopt;
  if (!row.getter().empty() || !row.propertyForKey("key").isNil()) return PSListController::valueForSpecifier(row);
  auto cell = row.propertyForKey("cellObject").objectAs<PSTableCell>();
  if (row.cellType() == PSEditTextCell && cell && cell->textField()) {
    const auto& text = cell->textField()->text();
    return text ? platform::Value(*text) : platform::Value();
  }
  if (row.cellType() == PSSwitchCell && cell && cell->control()) return platform::Value(cell->control()->isOn());
  if (row.cellType() == PSListItemCell)
    if (auto* items = dynamic_cast<PSListItemsController*>(pane)) return platform::Value(items->isChecked(index));
  return std::nullopt;
}

bool isFocused(const PSSpecifier& row) {
  auto cell = row.propertyForKey("cellObject").objectAs<PSTableCell>();
  return cell && cell->isFirstResponder();
}

// The colour of a hex colour string of six or eight digits ("#" allowed).
std::optional<unsigned> colourOf(const platform::Value& value) {
  if (!value.isString()) return std::nullopt;
  std::string s = *value.string();
  if (!s.empty() && s[0] == '#') s.erase(0, 1);
  if (s.size() != 6 && s.size() != 8) return std::nullopt;
  if (s.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) return std::nullopt;
  return static_cast<unsigned>(std::stoul(s, nullptr, 16) & 0xFFFFFF);
}

// Four columns of the colour. No-break spaces, so that wrapping never
// breaks a swatch.
std::string swatch(unsigned rgb) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "\x1b[48;2;%u;%u;%um\u00a0\u00a0\u00a0\u00a0\x1b[0m", rgb >> 16, (rgb >> 8) & 0xFF,
                rgb & 0xFF);
  return buf;
}

// The title a list row gives its value, or the value itself.
std::string titleOfValue(PSSpecifier& row, const platform::Value& value) {
  platform::Array values = PSListController::valuesForSpecifier(row);
  platform::Array titles = PSListController::titlesForSpecifier(row);
  for (std::size_t i = 0; i < values.size() && i < titles.size(); ++i)
    if (values[i] == value && titles[i].isString()) return *titles[i].string();
  return choiceText(value);
}

std::string segments(PSSpecifier& row, const platform::Value& value) {
  platform::Array values = PSListController::valuesForSpecifier(row);
  platform::Array titles = PSListController::titlesForSpecifier(row);
  std::string out;
  for (std::size_t i = 0; i < values.size(); ++i) {
    std::string title = i < titles.size() && titles[i].isString() ? *titles[i].string() : choiceText(values[i]);
    out += (out.empty() ? "" : " | ") + (values[i] == value ? "[" + title + "]" : title);
  }
  return out;
}

}  // namespace

std::string SettingsHost::rowJSON(PSSpecifier& row, long index) {
  std::string json = "{\"index\": " + std::to_string(index) + ", \"cell\": " + std::to_string(row.cellType());
  if (!row.name().empty()) json += ", \"name\": " + jsonString(row.name());
  if (auto value = shownValue(row, current(), index)) json += ", \"value\": " + jsonValue(*value);
  json += std::string(", \"enabled\": ") + (row.enabled() ? "true" : "false");
  if (platform::Value footer = row.propertyForKey("footerText"); !footer.isNil())
    json += ", \"footer\": " + jsonValue(footer);
  if (row.cellType() == PSEditTextCell) json += std::string(", \"focused\": ") + (isFocused(row) ? "true" : "false");
  if (platform::Value id = row.propertyForKey("id"); !id.isNil()) json += ", \"id\": " + jsonValue(id);
  if (platform::Value key = row.propertyForKey("key"); !key.isNil()) json += ", \"key\": " + jsonValue(key);
  if (!row.detailControllerClass().empty()) json += ", \"detail\": " + jsonString(row.detailControllerClass());
  if (row.cellType() == PSLinkListCell || row.cellType() == PSSegmentCell) {
    // The choices, each value with the title shown for it.
    platform::Array values = PSListController::valuesForSpecifier(row);
    platform::Array titles = PSListController::titlesForSpecifier(row);
    std::string valueList, titleList;
    for (std::size_t i = 0; i < values.size(); ++i) {
      valueList += (i ? ", " : "") + jsonValue(values[i]);
      titleList += (i ? ", " : "") + jsonString(i < titles.size() && titles[i].isString() ? *titles[i].string()
                                                                                        : choiceText(values[i]));
    }
    json += ", \"values\": [" + valueList + "], \"titles\": [" + titleList + "]";
  }
  if (row.cellType() == PSListItemCell)
    if (platform::Value item = row.propertyForKey("value"); !item.isNil()) json += ", \"item\": " + jsonValue(item);
  return json + "}";
}

std::string SettingsHost::dump() {
  PSListController* pane = current();
  std::string json = "{\"pane\": ";
  json += pane ? jsonString(platform::ClassRegistry::classNameOf(*pane)) : "null";
  json += ", \"title\": " + jsonString(currentTitle());
  json += ", \"right\": ";
  auto item = pane ? pane->navigationItem()->rightBarButtonItem() : nullptr;
  if (item) {
    json += "{\"title\": " + jsonString(item->title()) + ", \"system\": " +
            (item->systemItem() ? std::to_string(*item->systemItem()) : "null") + "}";
  } else {
    json += "null";
  }
  auto* editable = dynamic_cast<PSEditableListController*>(pane);
  json += std::string(", \"editing\": ") + (editable && editable->editable() ? "true" : "false");
  json += std::string(", \"keyboard\": ") + (UIKeyboardIsVisible() ? "true" : "false");
  json += ", \"alert\": ";
  const auto& alerts = UIAlertView::presentedAlerts();
  if (alerts.empty()) {
    json += "null";
  } else {
    const UIAlertView& alert = *alerts.front();
    auto text = [](const std::optional<std::string>& s) { return s ? jsonString(*s) : std::string("null"); };
    std::optional<std::string> button = alert.cancelButtonTitle();
    if (!button && !alert.otherButtonTitles().empty()) button = alert.otherButtonTitles().front();
    json += "{\"title\": " + text(alert.title()) + ", \"message\": " + text(alert.message()) +
            ", \"button\": " + text(button) + "}";
  }
  json += ", \"rows\": [";
  if (pane) {
    auto rows = pane->specifiers();
    for (std::size_t i = 0; rows && i < rows->size(); ++i) {
      if (i) json += ", ";
      json += rowJSON(*(*rows)[i], static_cast<long>(i));
    }
  } else {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      json += (i ? ", " : "") + std::string("{\"index\": ") + std::to_string(i) + ", \"cell\": 1, \"name\": " +
              jsonString(entries_[i].label) + ", \"enabled\": true";
      if (!entries_[i].detail.empty()) json += ", \"detail\": " + jsonString(entries_[i].detail);
      json += "}";
    }
  }
  json += "], \"opened\": [";
  const auto& urls = UIApplication::sharedApplication()->openedURLs();
  for (std::size_t i = 0; i < urls.size(); ++i) json += (i ? ", " : "") + jsonString(urls[i]);
  return json + "]}";
}

void SettingsHost::drawRow(PSSpecifier& row, long index, bool editing, std::size_t width) {
  using platform::visibleText;
  std::optional<platform::Value> value = shownValue(row, current(), index);
  std::string name = visibleText(row.name());
  std::string text;
  auto withSwatch = [&](const std::string& shown) {
    auto rgb = value ? colourOf(*value) : std::nullopt;
    return rgb && swatches_ ? visibleText(shown) + " " + swatch(*rgb) : visibleText(shown);
  };
  switch (row.cellType()) {
    case PSGroupCell:
      text = row.name().empty() ? "--" : "-- " + name + " --";
      break;
    case PSLinkCell:
      text = name + "  >";
      break;
    case PSLinkListCell:
      text = name + "  " + withSwatch(value ? titleOfValue(row, *value) : "") + "  >";
      break;
    case PSSwitchCell:
      text = name + "  [" + word(value && isTruthy(*value) ? "on" : "off") + "]";
      break;
    case PSEditTextCell: {
      // The field as it stands, typed text included.
      auto cell = row.propertyForKey("cellObject").objectAs<PSTableCell>();
      std::string field = cell && cell->textField() ? cell->textField()->text().value_or("") : "";
      if (field.empty() && cell && cell->textField() && !cell->textField()->placeholder().empty())
        field = "(" + cell->textField()->placeholder() + ")";
      text = name + "  [" + visibleText(field) + (isFocused(row) ? "|" : "") + "]";
      break;
    }
    case PSSegmentCell:
      text = name + "  " + visibleText(segments(row, value.value_or(platform::Value())));
      break;
    case PSButtonCell:
      text = "[ " + name + " ]";
      break;
    case PSListItemCell:
      text = std::string(value && isTruthy(*value) ? "* " : "  ") + name;
      break;
    default:
      text = name + (value ? "  " + withSwatch(choiceText(*value)) : "");
  }
  if (editing && row.cellType() == PSTitleValueCell) text = "(-) " + text;
  if (row.cellType() != PSGroupCell && !row.enabled()) text += "  (" + word("disabled") + ")";
  char number[32];
  std::snprintf(number, sizeof number, "%3ld  ", index);
  out_ << wrapped(number + text, width, 5);
  if (platform::Value footer = row.propertyForKey("footerText"); footer.isString())
    out_ << wrapped("       " + visibleText(*footer.string()), width, 7);
}

void SettingsHost::draw() {
  using platform::visibleText;
  std::size_t width = platform::terminalColumns();
  PSListController* pane = current();
  std::string header = "== " + visibleText(currentTitle()) + " ==";
  // A system item's title is the system's, so it is drawn in the host's
  // language; a titled button shows the pane's own text.
  if (auto item = pane ? pane->navigationItem()->rightBarButtonItem() : nullptr)
    header += "   [" + visibleText(item->systemItem() ? word(item->title()) : item->title()) + "]";
  out_ << wrapped(header, width, 3);
  if (!pane) {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      char number[32];
      std::snprintf(number, sizeof number, "%3zu  ", i);
      out_ << wrapped(number + visibleText(entries_[i].label) + "  >", width, 5);
    }
    if (entries_.empty()) out_ << wrapped("  (" + word("no settings entries under this device root") + ")", width, 3);
    return;
  }
  auto* editable = dynamic_cast<PSEditableListController*>(pane);
  bool editing = editable && editable->editable();
  auto rows = pane->specifiers();
  for (std::size_t i = 0; rows && i < rows->size(); ++i)
    drawRow(*(*rows)[i], static_cast<long>(i), editing, width);
  if (UIKeyboardIsVisible()) out_ << "  (" << word("keyboard up") << ")\n";
  const auto& alerts = UIAlertView::presentedAlerts();
  if (!alerts.empty()) {
    const UIAlertView& alert = *alerts.front();
    out_ << wrapped("  !! " + visibleText(alert.title().value_or("")) + ": " +
                        visibleText(alert.message().value_or("")) + "   [" +
                        visibleText(alert.cancelButtonTitle().value_or("OK")) + "]  (" + word("answer with ok") + ")",
                    width, 5);
  }
}

}  // namespace settings_host
