#include "platform/core/TerminalText.h"

#include <gtest/gtest.h>

#include "platform/core/Strings.h"

namespace {

using namespace platform;

TEST(TerminalText, EveryControlAndOverrideIsShownAndNothingElseChanges) {
  EXPECT_EQ(visibleText("Evil\x1b[31mRED\x1b[2J"), "Evil\\x1b[31mRED\\x1b[2J");
  EXPECT_EQ(visibleText("a\tb\nc\rd\be\x07" "f\x7f"), "a\\tb\\nc\\rd\\be\\x07f\\x7f");
  EXPECT_EQ(visibleText(std::string("nul\0!", 5)), "nul\\x00!");
  EXPECT_EQ(visibleText("\u0085\u009b\u009f"), "\\u{85}\\u{9b}\\u{9f}");
  EXPECT_EQ(visibleText("\u202a\u202e|\u2066\u2069"), "\\u{202a}\\u{202e}|\\u{2066}\\u{2069}");
  EXPECT_EQ(visibleText("bad\xff\xc0\xaf"), "bad\\xff\\xc0\\xaf");
  // Ordinary text, wide characters, emoji, marks and the neighbours of the
  // ranges pass untouched.
  std::string plain = "A<b>&\\ \u00a0\u00a1\u4e2d\u6587\U0001F600e\u0301\u200e\u2029\u202f\u2065\u206a~";
  EXPECT_EQ(visibleText(plain), plain);
  // Whatever comes in, no byte a terminal acts on comes out.
  std::string all;
  for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
  for (char32_t c : {0x80u, 0x9Bu, 0x202Eu, 0x2068u}) appendUTF8(all, c);
  std::string shown = visibleText(all);
  EXPECT_TRUE(isValidUTF8(shown));
  for (unsigned char c : shown) EXPECT_TRUE(c >= 0x20 && c != 0x7F) << int(c);
  EXPECT_EQ(shown.find("\u009b"), std::string::npos);
  EXPECT_EQ(shown.find("\u202e"), std::string::npos);
}

TEST(TerminalText, ColumnsCountWideCharactersTwiceAndSequencesAndMarksNotAtAll) {
  EXPECT_EQ(displayColumns("abc"), 3u);
  EXPECT_EQ(displayColumns("\u4e2d\u6587\uff01"), 6u);  // CJK and a fullwidth mark
  EXPECT_EQ(displayColumns("\U0001F600"), 2u);
  EXPECT_EQ(displayColumns("e\u0301\u200b\u200d"), 1u);
  EXPECT_EQ(displayColumns("\x1b[48;2;255;0;0m\u00a0\u00a0\x1b[0m|"), 3u);
  EXPECT_EQ(displayColumns("\u00e9\u0391\u0416"), 3u);  // ambiguous width counts one
  EXPECT_EQ(displayColumns(""), 0u);
}

TEST(TerminalText, CaseFoldingMatchesLettersInAnyCase) {
  EXPECT_EQ(foldCase("Custom COLOURS"), foldCase("custom colours"));
  EXPECT_EQ(foldCase("Stra\u00dfe"), foldCase("STRASSE"));
  EXPECT_EQ(foldCase("\u0391\u03a3"), foldCase("\u03b1\u03c3"));
  EXPECT_NE(foldCase("Week"), foldCase("Weeks"));
}

}  // namespace
