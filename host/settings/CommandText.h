// The text of host commands: splitting scripts into commands, a command into
// its name and arguments, and decoding what `type` types.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace settings_host {

// A command the host cannot carry out: unknown, malformed, aimed at a row that
// cannot take it, or refused by the pane. The message says which and why.
class CommandError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One command: its name and the rest of the line after the single space that
// follows the name (verbatim, for `type`), plus that rest split at spaces.
struct Command {
  std::string name;
  std::string rest;
  std::vector<std::string> words;
};

// Parses one command line. Leading blanks and a trailing carriage return are
// dropped. An empty line or a "#" comment gives a command with an empty name.
Command parseCommand(std::string_view line);

// The commands of a `-c` argument: separated by ";" or line breaks.
std::vector<std::string> splitCommandList(std::string_view text);

// The commands of a script file's text: one per line.
std::vector<std::string> splitLines(std::string_view text);

// What `type TEXT` types: TEXT with \t, \n, \\ and \u{HEX} decoded. Throws
// CommandError for any other escape, a malformed \u{...}, a code point that
// is no character (a surrogate, above U+10FFFF), or a result that is not
// valid UTF-8.
std::string decodeTypedText(std::string_view text);

// A row number: decimal digits only; throws CommandError otherwise.
long parseRowNumber(const std::string& word);

}  // namespace settings_host
