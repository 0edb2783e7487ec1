#include "platform/plist/TextPlist.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::Value;
using platform::parseTextPropertyList;

std::string stringAt(const Value& root, const std::string& key) {
  const Value* v = root.dictionary() ? root.dictionary()->find(key) : nullptr;
  return v && v->string() ? *v->string() : std::string("<missing>");
}

// UTF-16 bytes with a byte-order mark, from ASCII/BMP text given as code units.
std::string utf16(const std::u16string& text, bool little) {
  std::string out = little ? "\xFF\xFE" : "\xFE\xFF";
  for (char16_t u : text) {
    char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
    out += little ? std::string{lo, hi} : std::string{hi, lo};
  }
  return out;
}

TEST(TextPlist, StringsTableWithoutBracesAndComments) {
  auto v = parseTextPropertyList(
      "/* header\n comment */\n"
      "\"error\" = \"Error\"; // trailing comment\n"
      "\"duplicated color name\" = \"That name is taken\";\n"
      "\"same\";\n"
      "unquoted = value.with/chars:$_-;\n");
  ASSERT_TRUE(v && v->isDictionary());
  EXPECT_EQ(v->dictionary()->size(), 4u);
  EXPECT_EQ(stringAt(*v, "error"), "Error");
  EXPECT_EQ(stringAt(*v, "duplicated color name"), "That name is taken");
  EXPECT_EQ(stringAt(*v, "same"), "same");
  EXPECT_EQ(stringAt(*v, "unquoted"), "value.with/chars:$_-");
  // File order is kept.
  EXPECT_EQ(v->dictionary()->begin()->first, "error");
}

TEST(TextPlist, NestedValuesAndData) {
  auto v = parseTextPropertyList("{ Filter = { Bundles = ( com.apple.a, \"b c\", ); }; Blob = <0fA1 22>; Empty = (); }");
  ASSERT_TRUE(v && v->isDictionary());
  const Value* filter = v->dictionary()->find("Filter");
  ASSERT_TRUE(filter && filter->isDictionary());
  const Value* bundles = filter->dictionary()->find("Bundles");
  ASSERT_TRUE(bundles && bundles->isArray());
  ASSERT_EQ(bundles->array()->size(), 2u);
  EXPECT_EQ(*(*bundles->array())[1].string(), "b c");
  const Value* blob = v->dictionary()->find("Blob");
  ASSERT_TRUE(blob && blob->data());
  EXPECT_EQ(*blob->data(), (platform::Data{0x0F, 0xA1, 0x22}));
  EXPECT_TRUE(v->dictionary()->find("Empty")->array()->empty());
}

TEST(TextPlist, Escapes) {
  auto v = parseTextPropertyList(
      R"("k" = "a\nb\tc\"d\\e\a\b\f\r\v|\101\60|\U00e9\u4e2d|\UD83D\UDE00|\q";)");
  ASSERT_TRUE(v);
  EXPECT_EQ(stringAt(*v, "k"), "a\nb\tc\"d\\e\a\b\f\r\v|A0|\u00e9\u4e2d|\U0001F600|q");
}

TEST(TextPlist, EncodingsAndByteOrderMarks) {
  auto bom8 = parseTextPropertyList("\xEF\xBB\xBF\"k\" = \"\xE4\xBD\xA0\xE5\xA5\xBD\";");
  ASSERT_TRUE(bom8);
  EXPECT_EQ(stringAt(*bom8, "k"), "\u4f60\u597d");
  for (bool little : {true, false}) {
    auto v = parseTextPropertyList(utf16(u"\"k\" = \"\u4f60\u597d\"; /* c */ \"x\";", little));
    ASSERT_TRUE(v) << (little ? "LE" : "BE");
    EXPECT_EQ(stringAt(*v, "k"), "\u4f60\u597d");
    EXPECT_EQ(stringAt(*v, "x"), "x");
  }
}

TEST(TextPlist, EmptyAndCommentOnlyInputIsAnEmptyTable) {
  for (const char* text : {"", "  \n", "// nothing\n/* at all */"}) {
    auto v = parseTextPropertyList(text);
    ASSERT_TRUE(v && v->isDictionary()) << text;
    EXPECT_TRUE(v->dictionary()->empty());
  }
}

TEST(TextPlist, MalformedInputIsRejected) {
  const std::string cases[] = {
      "\"k\" = \"v\"",               // missing ';'
      "\"k\" = \"unterminated;",     // open quote
      "\"k\" \"v\";",                // missing '='
      "{ a = b; ",                   // open brace
      "( a, b",                      // open parenthesis
      "( a b )",                     // missing comma
      "<0f1>",                       // odd number of hex digits
      "<0g>",                        // not hex
      "\"k\" = \"v\"; garbage",      // trailing garbage
      "{ a = b; } extra",            // trailing garbage after a dictionary
      "\"k\" = \"v\"; /* unterminated",
      "\"k\" = \"\\UD83D\";",        // lone high surrogate
      "\"k\" = \"\\UDE00\";",        // lone low surrogate
      "\"k\" = \"\xC3\x28\";",       // invalid UTF-8
      "\xFF\xFE\x22",                // UTF-16 with an odd byte count
      std::string("\xFF\xFE\x00\xD8\x22\x00", 6),  // UTF-16 unpaired surrogate
      "= v;",
  };
  for (const auto& text : cases) EXPECT_FALSE(parseTextPropertyList(text)) << text;
}

TEST(TextPlist, LimitsOnSizeAndDepth) {
  platform::PropertyListLimits limits;
  limits.maxDepth = 8;
  EXPECT_TRUE(parseTextPropertyList("((((((()))))))", limits));
  EXPECT_FALSE(parseTextPropertyList("(((((((((())))))))))", limits));
  // Far deeper than any stack: refused, not a crash.
  EXPECT_FALSE(parseTextPropertyList(std::string(200000, '(') + std::string(200000, ')')));
  limits = {};
  limits.maxBytes = 10;
  EXPECT_FALSE(parseTextPropertyList("\"key\" = \"value\";", limits));
}

}  // namespace
