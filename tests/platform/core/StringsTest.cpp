#include "platform/core/Strings.h"

#include <gtest/gtest.h>

namespace {

using namespace platform;

TEST(Strings, TrimRemovesSpaceSeparatorsAndTabButKeepsLineBreaks) {
  EXPECT_EQ(trimWhitespace(" \t\u00a0\u3000abc d\u2003\t "), "abc d");
  EXPECT_EQ(trimWhitespace("\nabc\n"), "\nabc\n");
  EXPECT_EQ(trimWhitespace(" \r\n x"), "\r\n x");
  EXPECT_EQ(trimWhitespace("\u00a0\u3000 \t"), "");
  EXPECT_EQ(trimWhitespace(""), "");
  // Inner spaces and non-space characters that look blank stay.
  EXPECT_EQ(trimWhitespace("\u200bx y\u200b"), "\u200bx y\u200b");
}

TEST(Strings, UppercaseUsesFullRootLocaleMapping) {
  EXPECT_EQ(uppercaseString("ff00aa"), "FF00AA");
  EXPECT_EQ(uppercaseString("stra\u00dfe"), "STRASSE");
  EXPECT_EQ(uppercaseString("i"), "I");  // not the Turkish dotted capital
  EXPECT_EQ(uppercaseString("\u0390"), "\u0399\u0308\u0301");
  EXPECT_EQ(uppercaseString("\U00010428"), "\U00010400");  // Deseret, outside the BMP
  EXPECT_EQ(uppercaseString(""), "");
}

TEST(Strings, UTF16LengthCountsCodeUnits) {
  EXPECT_EQ(utf16Length(""), 0u);
  EXPECT_EQ(utf16Length("abc"), 3u);
  EXPECT_EQ(utf16Length("\u4e2d\u6587"), 2u);
  EXPECT_EQ(utf16Length("a\U0001F600"), 3u);
}

TEST(Strings, SubstringNeverSplitsASurrogatePair) {
  EXPECT_EQ(substringToUTF16Index("abcd", 3), "abc");
  EXPECT_EQ(substringToUTF16Index("ab", 3), "ab");
  EXPECT_EQ(substringToUTF16Index("\u4e2d\u79cb\u8282\u65e5", 3), "\u4e2d\u79cb\u8282");
  EXPECT_EQ(substringToUTF16Index("ab\U0001F600", 3), "ab");
  EXPECT_EQ(substringToUTF16Index("a\U0001F600b", 3), "a\U0001F600");
  EXPECT_EQ(substringToUTF16Index("abc", 0), "");
}

TEST(Strings, ValidUTF8) {
  EXPECT_TRUE(isValidUTF8("plain \u00e9\u4e2d\U0001F600"));
  EXPECT_FALSE(isValidUTF8("\xC3\x28"));
  EXPECT_FALSE(isValidUTF8("\xC0\xAF"));          // overlong
  EXPECT_FALSE(isValidUTF8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(isValidUTF8("\xF4\x90\x80\x80"));  // above U+10FFFF
  EXPECT_FALSE(isValidUTF8("abc\xE4\xB8"));       // truncated
}

TEST(Strings, IllFormedBytesSurviveTrimAndCut) {
  EXPECT_EQ(trimWhitespace(" \xFF "), "\xFF");
  EXPECT_EQ(utf16Length("a\xFF"), 2u);
  EXPECT_EQ(substringToUTF16Index("\xFF\xFE\xFD", 2), "\xFF\xFE");
  EXPECT_EQ(uppercaseString("a\xFF"), "A\uFFFD");
}

}  // namespace
