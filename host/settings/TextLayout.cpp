#include "TextLayout.h"

#include <unicode/brkiter.h>
#include <unicode/utext.h>
#include <unicode/utf8.h>

#include <memory>

#include "platform/core/TerminalText.h"

namespace settings_host {
namespace {

// The byte length of the colour sequence (ESC [ ... final byte) at `at`, or 0.
std::size_t sequenceAt(std::string_view text, std::size_t at) {
  if (at + 1 >= text.size() || text[at] != '\x1b' || text[at + 1] != '[') return 0;
  for (std::size_t i = at + 2; i < text.size(); ++i)
    if (text[i] >= 0x40 && text[i] <= 0x7E) return i + 1 - at;
  return text.size() - at;
}

// The byte length of the unit at `at`: a colour sequence or one UTF-8
// character (an ill-formed byte alone).
std::size_t unitAt(std::string_view text, std::size_t at) {
  if (std::size_t sequence = sequenceAt(text, at)) return sequence;
  auto length = static_cast<int32_t>(text.size());
  auto i = static_cast<int32_t>(at);
  UChar32 c = 0;
  U8_NEXT(reinterpret_cast<const uint8_t*>(text.data()), i, length, c);
  return static_cast<std::size_t>(i) - at;
}

bool isWideAt(std::string_view text, std::size_t at) {
  UChar32 c = 0;
  auto i = static_cast<int32_t>(at);
  U8_NEXT(reinterpret_cast<const uint8_t*>(text.data()), i, static_cast<int32_t>(text.size()), c);
  return c >= 0 && platform::codePointColumns(static_cast<char32_t>(c)) == 2;
}

bool isWideBefore(std::string_view text, std::size_t at) {
  auto i = static_cast<int32_t>(at);
  UChar32 c = 0;
  U8_PREV(reinterpret_cast<const uint8_t*>(text.data()), 0, i, c);
  return c >= 0 && platform::codePointColumns(static_cast<char32_t>(c)) == 2;
}

// Where lines may start: the line-break opportunities ICU finds (Unicode's
// line breaking rules, so no line starts with a closing mark such as "，"),
// kept only after a space or beside a wide (CJK) character, so words joined
// by hyphens or slashes stay whole, and never inside a colour sequence.
std::vector<std::size_t> lineStarts(std::string_view text) {
  std::vector<bool> inSequence(text.size() + 1, false);
  for (std::size_t i = 0; i < text.size();) {
    std::size_t length = sequenceAt(text, i);
    for (std::size_t j = i + 1; j < i + length; ++j) inSequence[j] = true;
    i += length ? length : 1;
  }
  std::vector<std::size_t> starts;
  UErrorCode status = U_ZERO_ERROR;
  UText* utext = utext_openUTF8(nullptr, text.data(), static_cast<int64_t>(text.size()), &status);
  std::unique_ptr<icu::BreakIterator> breaks(icu::BreakIterator::createLineInstance(icu::Locale::getRoot(), status));
  if (U_SUCCESS(status)) {
    breaks->setText(utext, status);
    for (int32_t at = breaks->next(); U_SUCCESS(status) && at != icu::BreakIterator::DONE; at = breaks->next()) {
      auto p = static_cast<std::size_t>(at);
      if (p == 0 || p >= text.size() || inSequence[p]) continue;
      if (text[p - 1] == ' ' || isWideBefore(text, p) || isWideAt(text, p)) starts.push_back(p);
    }
  }
  utext_close(utext);
  starts.push_back(text.size());
  return starts;
}

std::size_t trailingSpaces(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && text[end - 1] == ' ') --end;
  return text.size() - end;
}

class Lines {
 public:
  Lines(std::size_t width, std::size_t indent) : width_(width), indent_(indent) {}

  // Adds a piece that may start a line: text, then perhaps spaces.
  void add(std::string_view piece) {
    std::size_t spaces = trailingSpaces(piece);
    std::string_view visible = piece.substr(0, piece.size() - spaces);
    std::size_t columns = platform::displayColumns(visible);
    if (column_ + columns > width_ && column_ > lineStart()) breakLine();
    if (column_ + columns <= width_) {
      append(visible, columns);
    } else {
      // Longer than a line: split between characters.
      for (std::size_t at = 0; at < visible.size();) {
        std::size_t length = unitAt(visible, at);
        std::string_view unit = visible.substr(at, length);
        std::size_t unitColumns = platform::displayColumns(unit);
        if (column_ + unitColumns > width_ && column_ > lineStart()) breakLine();
        append(unit, unitColumns);
        at += length;
      }
    }
    append(std::string(spaces, ' '), spaces);
  }

  std::vector<std::string> finish() {
    endLine();
    return std::move(lines_);
  }

 private:
  std::size_t lineStart() const { return lines_.empty() ? 0 : indent_; }

  void append(std::string_view text, std::size_t columns) {
    line_ += text;
    column_ += columns;
  }

  // Ends the line; spaces at its end are dropped.
  void endLine() {
    line_.resize(line_.size() - trailingSpaces(line_));
    lines_.push_back(std::move(line_));
  }

  void breakLine() {
    endLine();
    line_.assign(indent_, ' ');
    column_ = indent_;
  }

  std::size_t width_, indent_;
  std::vector<std::string> lines_;
  std::string line_;
  std::size_t column_ = 0;
};

}  // namespace

std::vector<std::string> wrapText(std::string_view text, std::size_t width, std::size_t indent) {
  if (width == 0 || platform::displayColumns(text) <= width) return {std::string(text)};
  if (indent + 20 > width) indent = 0;
  Lines lines(width, indent);
  std::size_t from = 0;
  for (std::size_t start : lineStarts(text)) {
    lines.add(text.substr(from, start - from));
    from = start;
  }
  return lines.finish();
}

std::string wrapped(std::string_view text, std::size_t width, std::size_t indent) {
  std::string out;
  for (const std::string& line : wrapText(text, width, indent)) out += line + "\n";
  return out;
}

}  // namespace settings_host
