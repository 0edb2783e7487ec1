// The settings host: the Settings app's part for the panes of settings
// bundles. It keeps the settings list, a stack of panes, the live cells of the
// shown rows and the host's Edit buttons, and carries out the commands a
// person or a script gives (see RowCommands.cpp for the row commands).
//
// Every command runs to the end of the turn: work the panes queued on the run
// loop (keyboard notifications) runs before execute() returns. While an
// alert is up only `ok`, `show`, `dump`, `help` and `quit` are taken.
//
// Everything drawn shows control characters visibly (platform::visibleText)
// and is wrapped to the terminal's width; the host's own words are in the
// session's language (HostWords.h).
#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <optional>
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

  // Whether `quit` (or `exit`) was given. Nothing is stored on the way out:
  // a field being edited is left as it is.
  bool finished() const { return finished_; }

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

  // One command of the host: its name, another name for it (or null), its
  // arguments as help shows them, a one-line summary, what `help NAME` adds
  // (or null), and what it does.
  struct CommandDefinition {
    const char* name;
    const char* alias;
    const char* arguments;
    const char* summary;
    const char* details;
    void (*run)(SettingsHost& host, const Command& command);
  };
  // Every command, in the order help lists them.
  static const std::vector<CommandDefinition>& commands();
  // What `help` prints, generated from the table: one entry per command,
  // wrapped to `width` columns (0: no limit).
  static std::string helpText(std::size_t width);
  // What `help NAME` prints; throws CommandError for an unknown name.
  static std::string helpText(const std::string& name, std::size_t width);

  // What Tab may complete in a line typed up to the cursor: candidates for
  // the part of the line from `start` on. Command names (also after help),
  // entry labels after open, on and off after switch N, and after choose N
  // the titles of row N's values (and, once something is typed, the values
  // too). Candidates match what is typed there in any letter case.
  struct Completion {
    std::size_t start = 0;
    std::vector<std::string> candidates;
  };
  Completion complete(std::string_view beforeCursor);

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
  void fill(const std::string& text);
  UITextField* focusedField(const char* command);
  void dismiss();
  void deleteRow(long index);
  void storeFieldOf(UIResponder* responder);
  void followLink(const std::shared_ptr<PSSpecifier>& row, long index);
  std::shared_ptr<PSSpecifier> rowAt(long index, const char* command);
  void tapEntry(long index);
  // What row N offers to choose: its titles (the values of untitled ones),
  // and with `withValues` every value too.
  std::vector<std::string> choicesOf(long index, bool withValues);

  // The preview of the stored settings (`preview`).
  void preview(const std::vector<std::string>& words);
  settings_preview::Preview previewOf(const std::optional<settings_preview::PreviewDate>& date);

  // Drawing (PaneView.cpp).
  void drawRow(PSSpecifier& row, long index, bool editing, std::size_t width);
  std::string rowJSON(PSSpecifier& row, long index);

  std::ostream& out_;
  bool swatches_;
  std::vector<SettingsEntry> entries_;
  std::map<std::string, LoadedBundle> bundles_;  // by bundle path, loaded once
  PSRootController root_;
  std::vector<Frame> stack_;
  std::optional<std::chrono::year_month_day> today_;
  bool finished_ = false;
};

// The framework's name for a cell type ("switch", "title-value", ...).
std::string cellTypeName(int type);

// A name a person may give, and what it stands for.
struct NamedItem {
  std::string name;
  std::size_t id;
};
// What `wanted` names: the id of the first item named exactly so, else of
// the items whose name equals it in other letter case, when they all stand
// for one id; nothing when no name matches. Several ids in other letter case
// is a CommandError naming them (`what` says what they are: "entries").
std::optional<std::size_t> matchName(const std::vector<NamedItem>& items, const std::string& wanted,
                                     const char* what);

// How a row is named in messages: `row 3 (switch "Show calendar")`.
std::string describeRow(const PSSpecifier& row, long index);

// A value as the text a person types to choose it: strings as they are,
// numbers in decimal, booleans "true"/"false".
std::string choiceText(const platform::Value& value);

// Whether a value means "on", as NSNumber's and NSString's boolValue read it.
bool isTruthy(const platform::Value& value);

}  // namespace settings_host
