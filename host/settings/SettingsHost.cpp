#include "SettingsHost.h"

#include <algorithm>

#include "HostWords.h"
#include "PreviewOutput.h"
#include "TextLayout.h"
#include "platform/core/ObjC.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Strings.h"
#include "platform/os/Terminal.h"

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

const std::vector<SettingsHost::CommandDefinition>& SettingsHost::commands() {
  static const std::vector<CommandDefinition> table = {
      {"open", nullptr, "LABEL", "open the settings entry with that label",
       "LABEL is matched exactly, else in any letter case when only one entry matches. Tab completes labels.",
       [](SettingsHost& host, const Command& c) {
         std::string label = trimTrailingSpaces(c.rest);
         if (label.empty()) throw CommandError("usage: open LABEL");
         host.open(label);
       }},
      {"tap", nullptr, "N", "tap row N: follow a link, press a button, flip a switch",
       "In the settings list, tap N opens entry N. Tapping a text row focuses it.",
       [](SettingsHost& host, const Command& c) {
         expectWords(c, 1, "tap N");
         host.tap(parseRowNumber(c.words[0]));
       }},
      {"switch", nullptr, "N on|off", "set switch row N", nullptr,
       [](SettingsHost& host, const Command& c) {
         expectWords(c, 2, "switch N on|off");
         host.setSwitch(parseRowNumber(c.words[0]), c.words[1]);
       }},
      {"choose", nullptr, "N VALUE", "pick a value (by value or title) of a segmented or list row",
       "VALUE is a value or its title, exactly, else in any letter case when only one matches. Tab completes "
       "them.",
       [](SettingsHost& host, const Command& c) {
         if (c.words.size() < 2) throw CommandError("usage: choose N VALUE");
         host.choose(parseRowNumber(c.words[0]), trimTrailingSpaces(afterFirstWord(c.rest)));
       }},
      {"focus", nullptr, "N", "put the cursor in text row N (the keyboard appears)", nullptr,
       [](SettingsHost& host, const Command& c) {
         expectWords(c, 1, "focus N");
         host.focus(parseRowNumber(c.words[0]));
       }},
      {"type", nullptr, "TEXT", "type into the focused field (\\t, \\n, \\\\, \\u{HEX} are escapes)",
       "TEXT is the rest of the line after one space, spaces included, added to what the field holds.",
       [](SettingsHost& host, const Command& c) {
         if (c.rest.empty()) throw CommandError("usage: type TEXT");
         host.type(c.rest);
       }},
      {"fill", nullptr, "[TEXT]", "replace the focused field's text (fill alone clears it)",
       "TEXT is read as type reads it.", [](SettingsHost& host, const Command& c) { host.fill(c.rest); }},
      {"dismiss", nullptr, "", "leave the field; the keyboard goes away",
       "An add form stores its entry when its field is left.",
       [](SettingsHost& host, const Command& c) {
         expectWords(c, 0, "dismiss");
         host.dismiss();
       }},
      {"right", nullptr, "", "tap the navigation bar's right button (Edit, Done, ...)", nullptr,
       [](SettingsHost& host, const Command& c) {
         expectWords(c, 0, "right");
         host.right();
       }},
      {"delete", nullptr, "N", "in editing mode, delete row N", nullptr,
       [](SettingsHost& host, const Command& c) {
         expectWords(c, 1, "delete N");
         host.deleteRow(parseRowNumber(c.words[0]));
       }},
      {"ok", nullptr, "", "answer the alert",
       "Until the alert is answered only ok, show, dump, help and quit are taken.",
       [](SettingsHost& host, const Command& c) {
         expectWords(c, 0, "ok");
         host.ok();
       }},
      {"back", nullptr, "", "go back one pane", nullptr,
       [](SettingsHost& host, const Command& c) {
         expectWords(c, 0, "back");
         host.back();
       }},
      {"show", nullptr, "", "draw the current pane", nullptr,
       [](SettingsHost& host, const Command&) { host.draw(); }},
      {"dump", nullptr, "", "print the current pane as one line of JSON", nullptr,
       [](SettingsHost& host, const Command&) { host.out_ << host.dump() << '\n'; }},
      {"preview", nullptr, "[YYYY-MM[-DD]] [--json]", "draw what the stored settings describe for a month or week",
       "The month given (default: this month), or in the week view the week holding the day given: solar and "
       "lunar dates, the custom holidays by their MMDD dates, the chosen calendars' events, in the stored "
       "colours. Holidays whose date is no real MMDD are listed below as \"not shown\". --json prints it as one "
       "line of JSON.",
       [](SettingsHost& host, const Command& c) { host.preview(c.words); }},
      {"help", "?", "[COMMAND]", "list the commands, or explain one", nullptr,
       [](SettingsHost& host, const Command& c) {
         std::size_t width = platform::terminalColumns();
         if (c.words.size() > 1) throw CommandError("usage: help [COMMAND]");
         host.out_ << (c.words.empty() ? helpText(width) : helpText(c.words[0], width));
       }},
      {"quit", "exit", "", "end the session; nothing half-typed is stored",
       "Ctrl-D on an empty line ends the session too.",
       [](SettingsHost& host, const Command& c) {
         expectWords(c, 0, c.name.c_str());
         host.finished_ = true;
       }},
  };
  return table;
}

namespace {

const SettingsHost::CommandDefinition* findCommand(const std::string& name) {
  for (const auto& definition : SettingsHost::commands())
    if (name == definition.name || (definition.alias && name == definition.alias)) return &definition;
  return nullptr;
}

std::string usageOf(const SettingsHost::CommandDefinition& definition) {
  return std::string(definition.name) + (*definition.arguments ? " " : "") + definition.arguments;
}

}  // namespace

std::string SettingsHost::helpText(std::size_t width) {
  std::size_t column = 0;
  for (const CommandDefinition& definition : commands()) column = std::max(column, usageOf(definition).size());
  column += 4;
  std::string text = word("Commands:") + "\n";
  for (const CommandDefinition& definition : commands()) {
    std::string usage = "  " + usageOf(definition);
    std::string summary = word(definition.summary);
    if (definition.alias) summary += " (" + word("also:") + " " + definition.alias + ")";
    text += wrapped(usage + std::string(column - usage.size(), ' ') + summary, width, column);
  }
  return text + wrapped(word("Row numbers count every row, group headers included. help COMMAND explains one command."),
                        width, 0);
}

std::string SettingsHost::helpText(const std::string& name, std::size_t width) {
  const CommandDefinition* definition = findCommand(name);
  if (!definition) throw CommandError("help: there is no command \"" + name + "\" (help lists them)");
  std::string usage = usageOf(*definition) + (definition->alias ? std::string(" | ") + definition->alias : "");
  std::string text = wrapped(word("usage:") + " " + usage, width, 2);
  text += wrapped("  " + word(definition->summary), width, 2);
  if (definition->details) text += wrapped("  " + word(definition->details), width, 2);
  return text;
}

void SettingsHost::execute(std::string_view line) {
  Command c = parseCommand(line);
  if (c.name.empty()) return;
  const CommandDefinition* definition = findCommand(c.name);
  if (!definition) throw CommandError("unknown command \"" + c.name + "\" (try help)");
  const auto& alerts = UIAlertView::presentedAlerts();
  std::string name = definition->name;
  if (!alerts.empty() && name != "ok" && name != "show" && name != "dump" && name != "help" && name != "quit")
    throw CommandError("an alert (\"" + alerts.front()->title().value_or("") +
                       "\") is waiting: answer it with ok first");
  try {
    definition->run(*this, c);
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
    out_ << settings_preview::previewGrid(shown, {static_cast<int>(std::clamp<std::size_t>(
                                                       platform::terminalColumns() ? platform::terminalColumns() : 80, 20, 200)),
                                                   swatches_});
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

std::optional<std::size_t> matchName(const std::vector<NamedItem>& items, const std::string& wanted,
                                     const char* what) {
  for (const NamedItem& item : items)
    if (item.name == wanted) return item.id;
  std::string folded = platform::foldCase(wanted);
  std::vector<const NamedItem*> matches;
  for (const NamedItem& item : items)
    if (platform::foldCase(item.name) == folded) matches.push_back(&item);
  if (matches.empty()) return std::nullopt;
  bool oneId = std::all_of(matches.begin(), matches.end(), [&](const NamedItem* m) { return m->id == matches[0]->id; });
  if (oneId) return matches[0]->id;
  std::string names;
  for (const NamedItem* m : matches) names += (names.empty() ? "\"" : ", \"") + m->name + "\"";
  throw CommandError("\"" + wanted + "\" matches several " + what + " in other letter case: " + names +
                     "; give one exactly");
}

SettingsHost::Completion SettingsHost::complete(std::string_view line) {
  Completion result;
  auto offer = [&](std::size_t from, const std::vector<std::string>& names) {
    result.start = from;
    std::string typed = platform::foldCase(line.substr(from));
    for (const std::string& name : names) {
      if (!platform::foldCase(name).starts_with(typed)) continue;
      if (std::find(result.candidates.begin(), result.candidates.end(), name) == result.candidates.end())
        result.candidates.push_back(name);
    }
  };
  std::vector<std::string> commandNames;
  for (const CommandDefinition& definition : commands()) {
    commandNames.push_back(definition.name);
    if (definition.alias) commandNames.push_back(definition.alias);
  }
  std::size_t start = std::min(line.find_first_not_of(" \t"), line.size());
  std::size_t space = line.find(' ', start);
  if (space == std::string_view::npos) {
    offer(start, commandNames);
    return result;
  }
  const CommandDefinition* definition = findCommand(std::string(line.substr(start, space - start)));
  if (!definition) return result;
  std::string name = definition->name;
  std::size_t argument = space + 1;  // what follows the one space after the name
  std::size_t argumentEnd = line.find(' ', argument);
  if (name == "open") {
    std::vector<std::string> labels;
    for (const SettingsEntry& entry : entries_) labels.push_back(entry.label);
    offer(argument, labels);
  } else if (name == "help" && argumentEnd == std::string_view::npos) {
    offer(argument, commandNames);
  } else if ((name == "choose" || name == "switch") && argumentEnd != std::string_view::npos) {
    std::string row(line.substr(argument, argumentEnd - argument));
    if (row.empty() || row.find_first_not_of("0123456789") != std::string::npos || row.size() > 9) return result;
    bool typed = argumentEnd + 1 < line.size();
    std::vector<std::string> choices = name == "switch" ? std::vector<std::string>{"on", "off"}
                                                        : choicesOf(std::stol(row), typed);
    offer(argumentEnd + 1, choices);
  }
  return result;
}

PSListController* SettingsHost::current() const { return stack_.empty() ? nullptr : stack_.back().pane.get(); }

std::string SettingsHost::currentTitle() { return stack_.empty() ? word("Settings") : current()->title(); }

std::vector<std::string> SettingsHost::stackTitles() {
  std::vector<std::string> titles{word("Settings")};
  for (const Frame& frame : stack_) titles.push_back(frame.pane->title());
  return titles;
}

void SettingsHost::open(const std::string& label) {
  std::vector<NamedItem> labels;
  for (std::size_t i = 0; i < entries_.size(); ++i) labels.push_back({entries_[i].label, i});
  if (auto found = matchName(labels, label, "entries")) return openEntry(*found);
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
    frame.editButton = std::make_shared<UIBarButtonItem>(word("Edit"), UIBarButtonItemStylePlain, nullptr, "");
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
    frame.editButton->setTitle(word(editable->editable() ? "Done" : "Edit"));
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
