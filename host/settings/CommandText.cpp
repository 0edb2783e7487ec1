#include "CommandText.h"

#include <charconv>

#include "platform/core/Strings.h"

namespace settings_host {
namespace {

// Decodes the \u{HEX} escape starting at text[i] (the backslash); i moves past it.
char32_t unicodeEscape(std::string_view text, std::size_t& i) {
  std::size_t open = i + 2, close = text.find('}', open);
  if (open >= text.size() || text[open] != '{' || close == std::string_view::npos || close == open + 1 ||
      close - open - 1 > 6)
    throw CommandError("malformed \\u escape: write \\u{HEX} with one to six hex digits");
  std::string_view hex = text.substr(open + 1, close - open - 1);
  std::uint32_t code = 0;
  auto [end, ec] = std::from_chars(hex.data(), hex.data() + hex.size(), code, 16);
  if (ec != std::errc() || end != hex.data() + hex.size())
    throw CommandError("malformed \\u escape: \"" + std::string(hex) + "\" is not hexadecimal");
  if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
    throw CommandError("\\u{" + std::string(hex) + "} is not a Unicode character");
  i = close + 1;
  return code;
}

}  // namespace

Command parseCommand(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  std::size_t start = line.find_first_not_of(" \t");
  if (start == std::string_view::npos || line[start] == '#') return {};
  line.remove_prefix(start);
  Command command;
  std::size_t space = line.find(' ');
  command.name = std::string(line.substr(0, space));
  if (space != std::string_view::npos) command.rest = std::string(line.substr(space + 1));
  std::size_t pos = 0;
  while (pos < command.rest.size()) {
    std::size_t wordStart = command.rest.find_first_not_of(' ', pos);
    if (wordStart == std::string::npos) break;
    std::size_t wordEnd = command.rest.find(' ', wordStart);
    command.words.push_back(command.rest.substr(wordStart, wordEnd - wordStart));
    pos = wordEnd;
  }
  return command;
}

std::vector<std::string> splitCommandList(std::string_view text) {
  std::vector<std::string> commands;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t end = text.find_first_of(";\n", pos);
    if (end == std::string_view::npos) end = text.size();
    commands.emplace_back(text.substr(pos, end - pos));
    pos = end + 1;
  }
  return commands;
}

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    lines.emplace_back(text.substr(pos, end - pos));
    pos = end + 1;
  }
  return lines;
}

std::string decodeTypedText(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] != '\\') {
      out += text[i++];
      continue;
    }
    char next = i + 1 < text.size() ? text[i + 1] : '\0';
    switch (next) {
      case 't': out += '\t'; i += 2; break;
      case 'n': out += '\n'; i += 2; break;
      case '\\': out += '\\'; i += 2; break;
      case 'u': platform::appendUTF8(out, unicodeEscape(text, i)); break;
      default:
        throw CommandError(next ? std::string("unknown escape \\") + next + ": use \\t, \\n, \\\\ or \\u{HEX}"
                                : std::string("a lone backslash ends the text: write \\\\ for a backslash"));
    }
  }
  if (!platform::isValidUTF8(out)) throw CommandError("the typed text is not valid UTF-8; nothing was typed");
  return out;
}

long parseRowNumber(const std::string& word) {
  long n = 0;
  auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), n);
  if (word.empty() || ec != std::errc() || end != word.data() + word.size() || n < 0)
    throw CommandError("\"" + word + "\" is not a row number");
  return n;
}

}  // namespace settings_host
