// The host's command text: parsing, script splitting, typed-text escapes and
// JSON escaping.
#include <gtest/gtest.h>

#include <limits>

#include "CommandText.h"
#include "Json.h"

namespace {

using namespace settings_host;

TEST(HostCommandText, RestOfTheLineIsVerbatimAfterOneSpace) {
  Command c = parseCommand("  type  two  spaces \r");
  EXPECT_EQ(c.name, "type");
  EXPECT_EQ(c.rest, " two  spaces ");
  EXPECT_EQ(c.words, (std::vector<std::string>{"two", "spaces"}));
  EXPECT_TRUE(parseCommand("# comment").name.empty());
  EXPECT_TRUE(parseCommand("   ").name.empty());
  EXPECT_EQ(parseCommand("dump").rest, "");
}

TEST(HostCommandText, CommandListsSplitAtSemicolonsAndLineBreaks) {
  EXPECT_EQ(splitCommandList("open A; tap 1\nshow"), (std::vector<std::string>{"open A", " tap 1", "show"}));
  EXPECT_EQ(splitLines("a\nb\n"), (std::vector<std::string>{"a", "b"}));
}

TEST(HostCommandText, TypedEscapes) {
  EXPECT_EQ(decodeTypedText("a\\tb\\nc\\\\d"), "a\tb\nc\\d");
  EXPECT_EQ(decodeTypedText("\\u{41}\\u{e9}\\u{1F600}"), "A\u00e9\U0001F600");
  EXPECT_EQ(decodeTypedText("\\u{10FFFF}"), "\U0010FFFF");
  EXPECT_THROW(decodeTypedText("\\u{DFFF}"), CommandError);
  EXPECT_THROW(decodeTypedText("\\u{}"), CommandError);
  EXPECT_THROW(decodeTypedText("\\u{1234567}"), CommandError);
  EXPECT_THROW(decodeTypedText("\\u{41"), CommandError);
  EXPECT_THROW(decodeTypedText("\xed\xa0\x80"), CommandError);  // an encoded surrogate
}

TEST(HostCommandText, RowNumbers) {
  EXPECT_EQ(parseRowNumber("0"), 0);
  EXPECT_EQ(parseRowNumber("12"), 12);
  EXPECT_THROW(parseRowNumber("1x"), CommandError);
  EXPECT_THROW(parseRowNumber(""), CommandError);
  EXPECT_THROW(parseRowNumber("99999999999999999999999"), CommandError);
}

TEST(HostJson, StringsEscapeQuotesBackslashesAndControls) {
  EXPECT_EQ(jsonString("a\"b\\c\n\t\x01\x7f\u00e9"), "\"a\\\"b\\\\c\\n\\t\\u0001\\u007f\u00e9\"");
}

TEST(HostJson, ValuesKeepOrderAndTypes) {
  platform::Dictionary d;
  d.set("z", 1);
  d.set("a", platform::Array{true, 2.5, platform::Value(), "s"});
  d.set("d", platform::Data{'h', 'i'});
  EXPECT_EQ(jsonValue(d), "{\"z\": 1, \"a\": [true, 2.5, null, \"s\"], \"d\": \"aGk=\"}");
  EXPECT_EQ(jsonValue(0.1), "0.1");
  EXPECT_EQ(jsonValue(std::numeric_limits<double>::infinity()), "null");
}

}  // namespace
