#include "TextLayout.h"

#include "platform/core/TerminalText.h"

namespace settings_host {
namespace {

// The byte length of the unit at the start of text: a colour sequence
// (ESC [ ... final byte) or one UTF-8 character (an ill-formed byte alone).
std::size_t unitLength(std::string_view text) {
  if (text.size() >= 2 && text[0] == '\x1b' && text[1] == '[') {
    for (std::size_t i = 2; i < text.size(); ++i)
      if (text[i] >= 0x40 && text[i] <= 0x7E) return i + 1;
    return text.size();
  }
  auto lead = static_cast<unsigned char>(text[0]);
  std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  for (std::size_t i = 1; i < length; ++i)
    if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 1;
  return length;
}

class Lines {
 public:
  Lines(std::size_t width, std::size_t indent) : width_(width), indent_(indent) {}

  void addSpaces(std::size_t count) { pendingSpaces_ += count; }

  void addWord(std::string_view word) {
    std::size_t columns = platform::displayColumns(word);
    if (width_ == 0 || column_ + pendingSpaces_ + columns <= width_) return append(word, columns);
    // It does not fit after what the line holds: a new line, unless this
    // one holds nothing yet.
    if (column_ > lineStart()) {
      breakLine();
    } else {
      pendingSpaces_ = 0;
    }
    if (column_ + columns <= width_) return append(word, columns);
    // Longer than a line: split between characters.
    while (!word.empty()) {
      std::size_t length = unitLength(word);
      std::string_view unit = word.substr(0, length);
      std::size_t unitColumns = platform::displayColumns(unit);
      if (column_ + unitColumns > width_ && column_ > lineStart()) breakLine();
      append(unit, unitColumns);
      word.remove_prefix(length);
    }
  }

  std::vector<std::string> finish() {
    lines_.push_back(std::move(line_));
    return std::move(lines_);
  }

 private:
  std::size_t lineStart() const { return lines_.empty() ? 0 : indent_; }

  void append(std::string_view text, std::size_t columns) {
    line_.append(pendingSpaces_, ' ');
    column_ += pendingSpaces_;
    pendingSpaces_ = 0;
    line_ += text;
    column_ += columns;
  }

  void breakLine() {
    lines_.push_back(std::move(line_));
    line_.assign(indent_, ' ');
    column_ = indent_;
    pendingSpaces_ = 0;
  }

  std::size_t width_, indent_;
  std::vector<std::string> lines_;
  std::string line_;
  std::size_t column_ = 0, pendingSpaces_ = 0;
};

}  // namespace

std::vector<std::string> wrapText(std::string_view text, std::size_t width, std::size_t indent) {
  if (width != 0 && indent + 20 > width) indent = 0;
  Lines lines(width, indent);
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t wordStart = text.find_first_not_of(' ', pos);
    if (wordStart == std::string_view::npos) break;
    lines.addSpaces(wordStart - pos);
    std::size_t wordEnd = text.find(' ', wordStart);
    if (wordEnd == std::string_view::npos) wordEnd = text.size();
    lines.addWord(text.substr(wordStart, wordEnd - wordStart));
    pos = wordEnd;
  }
  return lines.finish();
}

std::string wrapped(std::string_view text, std::size_t width, std::size_t indent) {
  std::string out;
  for (const std::string& line : wrapText(text, width, indent)) out += line + "\n";
  return out;
}

}  // namespace settings_host
