// Reading a hook library's filter plist and matching it against a process.

#include "Filter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <plist/plist.h>

#include <cstdlib>

namespace {

using testing::ElementsAre;
using tweakloader::Filter;
using tweakloader::matches;
using tweakloader::parseFilter;
using tweakloader::ProcessIdentity;

std::optional<Filter> parse(std::string_view bytes) {
  std::string error;
  return parseFilter(bytes, error);
}

TEST(TweakFilter, ReadsAnXmlFilter) {
  auto filter = parse(R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>Filter</key><dict>
<key>Executables</key><array><string>bulletin-board-host</string></array>
<key>Bundles</key><array><string>com.apple.springboard</string><string>com.a</string></array>
</dict><key>Other</key><true/></dict></plist>)");
  ASSERT_TRUE(filter);
  EXPECT_THAT(filter->executables, ElementsAre("bulletin-board-host"));
  EXPECT_THAT(filter->bundles, ElementsAre("com.apple.springboard", "com.a"));
  EXPECT_TRUE(filter->classes.empty());
}

TEST(TweakFilter, ReadsABinaryFilter) {
  plist_t root = plist_new_dict(), inner = plist_new_dict(), classes = plist_new_array();
  plist_array_append_item(classes, plist_new_string("BBSectionInfo"));
  plist_dict_set_item(inner, "Classes", classes);
  plist_dict_set_item(root, "Filter", inner);
  char* bytes = nullptr;
  uint32_t length = 0;
  plist_to_bin(root, &bytes, &length);
  plist_free(root);
  ASSERT_NE(bytes, nullptr);
  auto filter = parse(std::string_view(bytes, length));
  std::free(bytes);
  ASSERT_TRUE(filter);
  EXPECT_THAT(filter->classes, ElementsAre("BBSectionInfo"));
}

TEST(TweakFilter, ReadsAnOldStyleTextFilter) {
  auto filter = parse("{ // injected into the host\n Filter = { Executables = (a, \"b c\",); Classes = (); }; }");
  ASSERT_TRUE(filter);
  EXPECT_THAT(filter->executables, ElementsAre("a", "b c"));
  EXPECT_TRUE(filter->classes.empty());
}

TEST(TweakFilter, TellsWhyAFilterIsMalformed) {
  std::string error;
  EXPECT_FALSE(parseFilter("<plist><dict>", error));
  EXPECT_EQ(error, "not a property list");
  EXPECT_FALSE(parseFilter("\"just a string\"", error));
  EXPECT_EQ(error, "the root is not a dictionary");
  EXPECT_FALSE(parseFilter("{ Filter = ( a ); }", error));
  EXPECT_EQ(error, "no Filter dictionary");
  EXPECT_FALSE(parseFilter("{ Filter = { Bundles = { a = b; }; }; }", error));
  EXPECT_EQ(error, "Bundles is not an array");
  EXPECT_FALSE(parseFilter("{ Filter = { Classes = ( a, <00> ); }; }", error));
  EXPECT_EQ(error, "Classes holds something other than strings");
}

TEST(TweakFilter, ReadsACoreFoundationVersionRange) {
  auto both = parse(R"(<plist><dict><key>Filter</key><dict><key>Executables</key><array><string>a</string></array>
<key>CoreFoundationVersion</key><array><real>1140.1</real><integer>1300</integer></array></dict></dict></plist>)");
  ASSERT_TRUE(both);
  EXPECT_EQ(both->minVersion, 1140.1);
  EXPECT_EQ(both->maxVersion, 1300.0);
  auto fromText = parse("{ Filter = { Executables = (a); CoreFoundationVersion = (\"847.20\"); }; }");
  ASSERT_TRUE(fromText);
  EXPECT_EQ(fromText->minVersion, 847.20);
  EXPECT_EQ(fromText->maxVersion, std::nullopt);

  std::string error;
  for (const char* bad : {"a", "()", "(1, 2, 3)", "(x)", "(\"1.5x\")", "(1, <00>)"}) {
    std::string text = std::string("{ Filter = { Executables = (a); CoreFoundationVersion = ") + bad + "; }; }";
    EXPECT_FALSE(parseFilter(text, error)) << bad;
    EXPECT_EQ(error, "CoreFoundationVersion is not an array of one or two numbers") << bad;
  }
}

TEST(TweakFilter, RefusesDeepNesting) {
  std::string deep = "{ Filter = { Executables = " + std::string(100, '(') + std::string(100, ')') + "; }; }";
  EXPECT_FALSE(parse(deep));
}

ProcessIdentity process(std::string executable, std::vector<std::string> bundles = {},
                        std::vector<std::string> classes = {}, bool runtime = true) {
  ProcessIdentity identity{std::move(executable), std::move(bundles), nullptr};
  if (runtime)
    identity.hasClass = [classes](const std::string& name) {
      return std::find(classes.begin(), classes.end(), name) != classes.end();
    };
  return identity;
}

TEST(TweakFilterMatch, AnyEntryOfAnyListIsEnough) {
  Filter filter{{"com.apple.springboard"}, {"bulletin-board-host", "imagent"}, {"BBSectionInfo"}};
  EXPECT_TRUE(matches(filter, process("imagent")));
  EXPECT_TRUE(matches(filter, process("x", {"com.a", "com.apple.springboard"})));
  EXPECT_TRUE(matches(filter, process("x", {}, {"NSObject", "BBSectionInfo"})));
  EXPECT_FALSE(matches(filter, process("x", {"com.a"}, {"NSObject"})));
}

TEST(TweakFilterMatch, ComparesNamesExactly) {
  Filter filter{{}, {"bulletin-board-host"}, {"BBSectionInfo"}};
  EXPECT_FALSE(matches(filter, process("Bulletin-board-host")));
  EXPECT_FALSE(matches(filter, process("bulletin-board-host2")));
  EXPECT_FALSE(matches(filter, process("x", {}, {"bbsectioninfo"})));
}

TEST(TweakFilterMatch, ClassesNeverMatchWithoutTheObjectRuntime) {
  Filter filter{{}, {}, {"BBSectionInfo"}};
  EXPECT_FALSE(matches(filter, process("x", {}, {"BBSectionInfo"}, false)));
}

TEST(TweakFilterMatch, TheCoreFoundationVersionMustLieInTheRange) {
  Filter filter{{}, {"host"}, {}, 1140.1, 1300.0};
  auto at = [](double version) {
    ProcessIdentity identity = process("host");
    identity.coreFoundationVersion = version;
    return identity;
  };
  EXPECT_TRUE(matches(filter, at(1140.1))) << "the lower bound is in";
  EXPECT_TRUE(matches(filter, at(1240.1)));
  EXPECT_FALSE(matches(filter, at(1300.0))) << "the upper bound is out";
  EXPECT_FALSE(matches(filter, at(847.2)));
  filter.maxVersion.reset();
  EXPECT_TRUE(matches(filter, at(1e6)));
  EXPECT_FALSE(matches(Filter{{}, {}, {}, 0.0, std::nullopt}, at(1240.1))) << "a range alone names no process";
}

TEST(TweakFilterMatch, AnEmptyFilterMatchesNothing) {
  EXPECT_FALSE(matches(Filter{}, process("bulletin-board-host", {"com.apple.springboard"}, {"BBSectionInfo"})));
}

}  // namespace
