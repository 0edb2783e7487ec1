// Wrapping the host's text to the terminal's width.
#include <gtest/gtest.h>

#include <sstream>

#include "TextLayout.h"
#include "platform/core/TerminalText.h"

namespace {

using settings_host::wrapText;

std::string withoutSpaces(std::string s) {
  std::erase(s, ' ');
  return s;
}

std::vector<std::string> wordsOf(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

TEST(TextLayout, LinesFitTheWidthKeepEveryCharacterAndBreakOnlyWhereAllowed) {
  const std::string swatch = "\x1b[48;2;255;136;0m\u00a0\u00a0\u00a0\u00a0\x1b[0m";
  const std::vector<std::string> texts = {
      "       Give the date as four digits MMDD, for example 0501 for 1 May. Names longer than three characters are "
      "shortened to three.",
      "       \u65e5\u671f\u4e3a\u56db\u4f4d\u6570\u5b57 MMDD\uff0c\u4f8b\u5982 0501 \u8868\u793a\u4e94\u6708\u521d"
      "\u4e00\u6216\u4e94\u6708\u4e00\u65e5\u3002\u540d\u79f0\u8d85\u8fc7\u4e09\u4e2a\u5b57\u65f6\u53ea\u4fdd"
      "\u7559\u524d\u4e09\u4e2a\u5b57\u3002",
      "  1  Text  Sunset " + swatch + "  >  and an extra-colors key with a/slashed/path in it",
      "  !! Error: " + std::string(120, 'x') + " [OK]",
  };
  for (const std::string& text : texts) {
    for (std::size_t width : {160u, 80u, 40u, 24u, 7u, 1u}) {
      SCOPED_TRACE("width " + std::to_string(width) + ": " + text);
      std::vector<std::string> lines = wrapText(text, width, 7);
      std::string joined;
      for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        std::size_t columns = platform::displayColumns(line);
        // A line wider than the width holds one character that is.
        EXPECT_TRUE(columns <= width || (width < 2 && columns == 2)) << line;
        EXPECT_TRUE(line.empty() || line.back() != ' ') << line;
        if (i > 0 && width >= 27) {
          EXPECT_EQ(line.substr(0, 7), std::string(7, ' ')) << line;
        }
        // Unless lines are too narrow for the pieces: no line starts with a
        // closing mark, and a swatch stays on one line.
        if (width >= 7) {
          if (i > 0) {
            EXPECT_NE(line.substr(line.find_first_not_of(' '), 3), "\uff0c") << line;
          }
          EXPECT_EQ(std::count(line.begin(), line.end(), '\x1b'), line.find("\x1b[48") != std::string::npos ? 2 : 0);
        }
        joined += line;
      }
      EXPECT_EQ(withoutSpaces(joined), withoutSpaces(text));
      // Words that fit are never split, hyphenated and slashed ones included.
      if (width >= 40 && text.find("xxxx") == std::string::npos && text.find("MMDD\uff0c") == std::string::npos) {
        std::vector<std::string> got;
        for (const std::string& line : lines)
          for (const std::string& w : wordsOf(line)) got.push_back(w);
        EXPECT_EQ(got, wordsOf(text));
      }
    }
  }
}

TEST(TextLayout, NoWidthOrAFittingTextIsOneLineAsItIs) {
  std::string text = "  3  Name   [a  b]  ";
  EXPECT_EQ(wrapText(text, 0, 5), std::vector<std::string>{text});
  EXPECT_EQ(wrapText(text, 80, 5), std::vector<std::string>{text});
  EXPECT_EQ(wrapText("one two three", 8, 2), (std::vector<std::string>{"one two", "three"}));
}

}  // namespace
