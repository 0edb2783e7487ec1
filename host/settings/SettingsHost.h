// The settings host: the Settings app's part for the panes of settings
// bundles. It keeps the settings list, a stack of panes, the live cells of the
// shown rows and the host's Edit buttons, and carries out the commands a
// person or a script gives (see RowCommands.cpp for the row commands).
//
// Every command runs to the end of the turn: work the panes queued on the run
// loop (keyboard notifications) runs before execute() returns. While an
// alert is up only `ok`, `show` and `dump` are taken.
#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "CommandText.h"
#include "Entries.h"
#include "Preview.h"
#include "Preferences/Preferences.h"
#include "UIKit/UIKit.h"

namespace settings_host {

class SettingsHost {
 public:
  // Output of `show` and `dump` goes to `out`; colour values are drawn as
  // 24-bit swatches when `swatches` is set.
  SettingsHost(std::ostream& out, bool swatches);
  ~SettingsHost();
  SettingsHost(const SettingsHost&) = delete;
  SettingsHost& operator=(const SettingsHost&) = delete;

  // Carries out one command line (empty lines and "#" comments do nothing).
  // Throws CommandError; a pane's failure to bind a name comes as a
  // CommandError too. The state stays consistent after an error.
  void execute(std::string_view line);

  // Draws the current pane (or the settings list) as text.
  void draw();
  // The current pane's state as one line of JSON (the `dump` command).
  std::string dump();

  // The title shown in the prompt.
  std::string currentTitle();
  // The titles of the panes from the settings list to the current one.
  std::vector<std::string> stackTitles();

  // What `preview --json DATE` prints, without the line break: DATE is
  // "YYYY-MM", "YYYY-MM-DD" or empty (the current month). Reads the stored
  // settings only, so an alert does not hold it up. Throws CommandError for
  // a bad date.
  std::string previewJSON(std::string_view date);

  // Fixes the date the preview takes as today (for scripts and tests);
  // otherwise it is the local date.
  void setToday(std::chrono::year_month_day today) { today_ = today; }

  // One command of the host: its name, its arguments as help shows them, a
  // one-line summary, and what it does.
  struct CommandSpec {
    const char* name;
    const char* arguments;
    const char* summary;
    void (*run)(SettingsHost& host, const Command& command);
  };
  // Every command, in the order help lists them.
  static const std::vector<CommandSpec>& commands();
  // What `help` prints: one line per command, generated from the table.
  static std::string helpText();

 private:
  struct Frame {
    std::shared_ptr<PSListController> pane;
    std::shared_ptr<UIBarButtonItem> editButton;  // the host's, for editable panes
  };

  // Navigation (SettingsHost.cpp).
  void open(const std::string& label);
  void openEntry(std::size_t index);
  void push(std::shared_ptr<PSListController> pane, const std::shared_ptr<PSSpecifier>& from,
            const std::string& title);
  void back();
  void right();
  void ok();
  void endEditingSession();
  PSListController* current() const;
  void refreshCells();

  // Row commands (RowCommands.cpp).
  void tap(long index);
  void setSwitch(long index, const std::string& state);
  void choose(long index, const std::string& choice);
  void focus(long index);
  void type(const std::string& text);
  void dismiss();
  void deleteRow(long index);
  void storeFieldOf(UIResponder* responder);
  void followLink(const std::shared_ptr<PSSpecifier>& row, long index);
  std::shared_ptr<PSSpecifier> rowAt(long index, const char* command);
  void tapEntry(long index);

  // The preview of the stored settings (`preview`).
  void preview(const std::vector<std::string>& words);
  settings_preview::Preview previewOf(const std::optional<settings_preview::PreviewDate>& date);

  // Drawing (PaneView.cpp).
  void drawRow(PSSpecifier& row, long index, bool editing);
  std::string rowJSON(PSSpecifier& row, long index);

  std::ostream& out_;
  bool swatches_;
  std::vector<SettingsEntry> entries_;
  std::map<std::string, LoadedBundle> bundles_;  // by bundle path, loaded once
  PSRootController root_;
  std::vector<Frame> stack_;
  std::optional<std::chrono::year_month_day> today_;
};

// The framework's name for a cell type ("switch", "title-value", ...).
std::string cellTypeName(int type);

// How a row is named in messages: `row 3 (switch "Show calendar")`.
std::string describeRow(const PSSpecifier& row, long index);

// A value as the text a person types to choose it: strings as they are,
// numbers in decimal, booleans "true"/"false".
std::string choiceText(const platform::Value& value);

// Whether a value means "on", as NSNumber's and NSString's boolValue read it.
bool isTruthy(const platform::Value& value);

}  // namespace settings_host
