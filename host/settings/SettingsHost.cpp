#include "SettingsHost.h"

#include <algorithm>

#include "PreviewOutput.h"

#include "platform/core/ObjC.h"
#include "platform/core/RunLoop.h"

namespace settings_host {
namespace {

void expectWords(const Command& c, std::size_t count, const char* usage) {
  if (c.words.size() != count) throw CommandError(std::string("usage: ") + usage);
}

// The text after the first word of the rest (for `choose N VALUE`).
std::string afterFirstWord(const std::string& rest) {
  std::size_t start = rest.find_first_not_of(' ');
  std::size_t space = start == std::string::npos ? std::string::npos : rest.find(' ', start);
  return space == std::string::npos ? std::string() : rest.substr(space + 1);
}

std::string trimTrailingSpaces(std::string s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.pop_back();
  return s;
}

}  // namespace

SettingsHost::SettingsHost(std::ostream& out, bool swatches)
    : out_(out), swatches_(swatches), entries_(readEntries()) {}

SettingsHost::~SettingsHost() {
  // Panes go first, top down, while the bundles that made them are loaded.
  while (!stack_.empty()) stack_.pop_back();
}

const std::vector<SettingsHost::CommandSpec>& SettingsHost::commands() {
  static const std::vector<CommandSpec> table = {
      {"open", "LABEL", "open the settings entry with that label",
       [](SettingsHost& host, const Command& c) {
         std::string label = trimTrailingSpaces(c.rest);
         if (label.empty()) throw CommandError("usage: open LABEL");
         host.open(label);
       }},
      {"tap", "N", "tap row N: follow a link, press a button, flip a switch",
       [](SettingsHost& host, const Command& c) {
         expectWords(c, 1, "tap N");
         host.tap(parseRowNumber(c.words[0]));
       }},
      {"switch", "N on|off", "set switch row N",
       [](SettingsHost& host, const Command& c) {
         expectWords(c, 2, "switch N on|off");
         host.setSwitch(parseRowNumber(c.words[0]), c.words[1]);
       }},
      {"choose", "N VALUE", "pick a value (by value or title) of a segmented or list row",
       [](SettingsHost& host, const Command& c) {
         if (c.words.size() < 2) throw CommandError("usage: choose N VALUE");
         host.choose(parseRowNumber(c.words[0]), trimTrailingSpaces(afterFirstWord(c.rest)));
       }},
      {"focus", "N", "put the cursor in text row N (the keyboard appears)",
       [](SettingsHost& host, const Command& c) {
         expectWords(c, 1, "focus N");
         host.focus(parseRowNumber(c.words[0]));
       }},
      {"type", "TEXT", "type into the focused field (\\t, \\n, \\\\, \\u{HEX} are escapes)",
       [](SettingsHost& host, const Command& c) {
         if (c.rest.empty()) throw CommandError("usage: type TEXT");
         host.type(c.rest);
       }},
      {"dismiss", "", "leave the field; the keyboard goes away",
       [](SettingsHost& host, const Command& c) {
         expectWords(c, 0, "dismiss");
         host.dismiss();
       }},
      {"right", "", "tap the navigation bar's right button (Edit, Done, ...)",
       [](SettingsHost& host, const Command& c) {
         expectWords(c, 0, "right");
         host.right();
       }},
      {"delete", "N", "in editing mode, delete row N",
       [](SettingsHost& host, const Command& c) {
         expectWords(c, 1, "delete N");
         host.deleteRow(parseRowNumber(c.words[0]));
       }},
      {"ok", "", "answer the alert",
       [](SettingsHost& host, const Command& c) {
         expectWords(c, 0, "ok");
         host.ok();
       }},
      {"back", "", "go back one pane",
       [](SettingsHost& host, const Command& c) {
         expectWords(c, 0, "back");
         host.back();
       }},
      {"show", "", "draw the current pane", [](SettingsHost& host, const Command&) { host.draw(); }},
      {"dump", "", "print the current pane as one line of JSON",
       [](SettingsHost& host, const Command&) { host.out_ << host.dump() << '\n'; }},
      {"preview", "[YYYY-MM[-DD]] [--json]", "draw what the stored settings describe for a month or week",
       [](SettingsHost& host, const Command& c) { host.preview(c.words); }},
      {"help", "", "list the commands", [](SettingsHost& host, const Command&) { host.out_ << helpText(); }},
  };
  return table;
}

std::string SettingsHost::helpText() {
  std::size_t width = 0;
  for (const CommandSpec& spec : commands())
    width = std::max(width, std::string(spec.name).size() + 1 + std::string(spec.arguments).size());
  std::string text;
  for (const CommandSpec& spec : commands()) {
    std::string usage = std::string(spec.name) + (*spec.arguments ? " " : "") + spec.arguments;
    text += "  " + usage + std::string(width + 2 - usage.size(), ' ') + spec.summary + "\n";
  }
  return text;
}

void SettingsHost::execute(std::string_view line) {
  Command c = parseCommand(line);
  if (c.name.empty()) return;
  const auto& alerts = UIAlertView::presentedAlerts();
  if (!alerts.empty() && c.name != "ok" && c.name != "show" && c.name != "dump")
    throw CommandError("an alert (\"" + alerts.front()->title().value_or("") +
                       "\") is waiting: answer it with ok first");
  const auto& table = commands();
  auto spec = std::find_if(table.begin(), table.end(), [&](const CommandSpec& s) { return c.name == s.name; });
  if (spec == table.end()) throw CommandError("unknown command \"" + c.name + "\" (try help)");
  try {
    spec->run(*this, c);
    platform::RunLoop::drain();
    refreshCells();
  } catch (const platform::BindingError& e) {
    platform::RunLoop::drain();
    throw CommandError(e.what());
  } catch (const CommandError&) {
    platform::RunLoop::drain();
    throw;
  } catch (const std::exception& e) {
    // A pane that failed in its own code: reported, and the host goes on.
    platform::RunLoop::drain();
    throw CommandError(std::string("the pane failed: ") + e.what());
  }
}

void SettingsHost::preview(const std::vector<std::string>& words) {
  bool json = false;
  std::optional<settings_preview::PreviewDate> date;
  for (const std::string& word : words) {
    if (word == "--json") {
      json = true;
    } else if (auto parsed = settings_preview::parsePreviewDate(word); parsed && !date) {
      date = parsed;
    } else {
      throw CommandError("usage: preview [YYYY-MM | YYYY-MM-DD] [--json] (\"" + word + "\" is neither)");
    }
  }
  settings_preview::Preview shown = previewOf(date);
  if (json)
    out_ << settings_preview::previewJSON(shown) << '\n';
  else
    out_ << settings_preview::previewGrid(shown, {80, swatches_});
}

std::string SettingsHost::previewJSON(std::string_view date) {
  std::optional<settings_preview::PreviewDate> parsed;
  if (!date.empty() && !(parsed = settings_preview::parsePreviewDate(std::string(date))))
    throw CommandError("a preview date is YYYY-MM or YYYY-MM-DD, not \"" + std::string(date) + "\"");
  return settings_preview::previewJSON(previewOf(parsed));
}

settings_preview::Preview SettingsHost::previewOf(const std::optional<settings_preview::PreviewDate>& date) {
  return settings_preview::buildPreview(settings_preview::readStoredSettings(), date,
                                        today_ ? *today_ : settings_preview::localToday());
}

PSListController* SettingsHost::current() const { return stack_.empty() ? nullptr : stack_.back().pane.get(); }

std::string SettingsHost::currentTitle() { return stack_.empty() ? "Settings" : current()->title(); }

std::vector<std::string> SettingsHost::stackTitles() {
  std::vector<std::string> titles{"Settings"};
  for (const Frame& frame : stack_) titles.push_back(frame.pane->title());
  return titles;
}

void SettingsHost::open(const std::string& label) {
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].label == label) return openEntry(i);
  std::string known;
  for (const auto& e : entries_) known += (known.empty() ? "" : ", ") + ("\"" + e.label + "\"");
  throw CommandError("no settings entry is labelled \"" + label + "\"" +
                     (known.empty() ? " (there are no entries)" : " (entries: " + known + ")"));
}

void SettingsHost::openEntry(std::size_t index) {
  const SettingsEntry& entry = entries_.at(index);
  endEditingSession();
  while (!stack_.empty()) stack_.pop_back();
  auto found = bundles_.find(entry.bundlePath);
  if (found == bundles_.end()) found = bundles_.emplace(entry.bundlePath, loadBundle(entry)).first;
  const std::string& principal = found->second.principalClass;
  if (!platform::ClassRegistry::exists(principal))
    throw CommandError("entry \"" + entry.label + "\": its bundle defines no class \"" + principal + "\"");
  auto pane = std::dynamic_pointer_cast<PSListController>(platform::ClassRegistry::create(principal));
  if (!pane) throw CommandError("entry \"" + entry.label + "\": \"" + principal + "\" is not a list controller");
  push(std::move(pane), nullptr, entry.label);
}

void SettingsHost::push(std::shared_ptr<PSListController> pane, const std::shared_ptr<PSSpecifier>& from,
                        const std::string& title) {
  pane->setParentController(current());
  pane->setSpecifier(from);
  // The rows exist before the pane is attached, so a pane that looks rows up
  // when it first gets its root controller finds them. A title the pane or
  // its plist gave wins over the one of the row or entry it came from.
  pane->specifiers();
  if (pane->title().empty()) pane->setTitle(title);
  pane->setRootController(&root_);
  Frame frame{std::move(pane), nullptr};
  if (dynamic_cast<PSEditableListController*>(frame.pane.get()) && !frame.pane->navigationItem()->rightBarButtonItem()) {
    frame.editButton = std::make_shared<UIBarButtonItem>("Edit", UIBarButtonItemStylePlain, nullptr, "");
    frame.pane->navigationItem()->setRightBarButtonItem(frame.editButton);
  }
  stack_.push_back(std::move(frame));
}

void SettingsHost::back() {
  if (stack_.empty()) throw CommandError("already at the settings list: nothing to go back from");
  endEditingSession();
  stack_.pop_back();
}

void SettingsHost::endEditingSession() {
  if (UIResponder* responder = UIResponder::firstResponder()) {
    responder->resignFirstResponder();
    platform::RunLoop::drain();
  }
}

void SettingsHost::right() {
  if (stack_.empty()) throw CommandError("the settings list has no button on the right");
  Frame& frame = stack_.back();
  auto item = frame.pane->navigationItem()->rightBarButtonItem();
  if (!item) throw CommandError("this pane has no button on the right");
  if (item == frame.editButton) {
    auto* editable = dynamic_cast<PSEditableListController*>(frame.pane.get());
    editable->setEditable(!editable->editable());
  } else {
    item->tap();
  }
}

void SettingsHost::ok() {
  if (!UIAlertView::dismissFrontAlert()) throw CommandError("no alert is waiting for ok");
}

void SettingsHost::refreshCells() {
  if (stack_.empty()) return;
  Frame& frame = stack_.back();
  if (frame.editButton) {
    auto* editable = dynamic_cast<PSEditableListController*>(frame.pane.get());
    frame.editButton->setTitle(editable->editable() ? "Done" : "Edit");
  }
  auto rows = frame.pane->specifiers();
  if (!rows) return;
  for (const auto& row : *rows) {
    if (row->cellType() == PSGroupCell) continue;
    bool isNew = !row->propertyForKey("cellObject").objectAs<PSTableCell>();
    auto cell = PSTableCell::cellForSpecifier(*row);
    if (!isNew) continue;
    // A new cell shows what the row holds, as the device's cells do.
    bool bound = !row->getter().empty() || !row->propertyForKey("key").isNil();
    if (!bound) continue;
    platform::Value value = PSListController::valueForSpecifier(*row);
    if (cell->control()) cell->control()->setOn(isTruthy(value));
    if (cell->textField() && value.isString()) cell->textField()->setText(*value.string());
  }
}

}  // namespace settings_host
