// The tweak loader stand-in injecting the patch into processes by its filter,
// from a device root laid out as the installed image lays it out.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ChildProcess.h"
#include "TempRoot.h"

namespace {

namespace fs = std::filesystem;
using sectionpatch_test::ChildResult;
using sectionpatch_test::runChild;
using testing::ElementsAre;
using testing::HasSubstr;

const std::string kWidget = "/System/Library/WeeAppPlugins/Velloria.bundle";
const std::string kTweaks = "/Library/MobileSubstrate/DynamicLibraries/";

class TweakLoader : public testing::Test {
 protected:
  void SetUp() override { fs::copy_file(SECTION_PATCH_LIBRARY, root_.file(kTweaks + "VelloriaSectionPatch.dylib")); }

  void writeFilter(const std::string& content) {
    std::ofstream(root_.file(kTweaks + "VelloriaSectionPatch.plist"), std::ios::binary) << content;
  }
  void installShippedFilter() {
    fs::copy_file(SECTION_PATCH_FILTER, root_.file(kTweaks + "VelloriaSectionPatch.plist"));
  }

  // Runs the host (or a link to it under another name) with the loader.
  ChildResult run(const std::vector<std::string>& commands, const std::string& name = "bulletin-board-host",
                  std::map<std::string, std::string> env = {}) {
    std::string program = BULLETIN_BOARD_HOST;
    if (name != "bulletin-board-host") {
      program = (root_.path() / name).string();
      if (!fs::is_symlink(program)) fs::create_symlink(BULLETIN_BOARD_HOST, program);
    }
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), commands.begin(), commands.end());
    env["LD_PRELOAD"] = TWEAK_LOADER_LIBRARY;
    env["DEVICE_ROOT"] = root_.path().string();
    return runChild(argv, env);
  }

  // True when the host's section records were rewritten.
  static bool patched(const ChildResult& result) {
    EXPECT_EQ(result.status, 0) << result.err;
    auto lines = result.outLines();
    return !lines.empty() && lines.back() == "held BBSectionInfo " + kWidget;
  }

  const std::vector<std::string> setWidget{"set /Library/WeeAppPlugins/Velloria.bundle"};
  testing_support::TempRoot root_;
};

TEST_F(TweakLoader, InjectsThePatchIntoTheBulletinBoardHostByItsShippedFilter) {
  installShippedFilter();
  ChildResult result = run(setWidget);
  EXPECT_TRUE(patched(result));
  EXPECT_EQ(result.err, "");
}

TEST_F(TweakLoader, LeavesAProcessTheFilterDoesNotName) {
  installShippedFilter();
  ChildResult result = run(setWidget, "other-host", {{"TWEAK_LOADER_VERBOSE", "1"}});
  EXPECT_FALSE(patched(result));
  EXPECT_EQ(result.err, "");
}

TEST_F(TweakLoader, ReadsFiltersWrittenAsOldStyleText) {
  writeFilter("/* filter */ { Filter = { Executables = ( \"bulletin-board-host\", springboard ); }; }");
  EXPECT_TRUE(patched(run(setWidget)));
}

TEST_F(TweakLoader, MatchesByClassOnlyWhereTheClassExists) {
  writeFilter("{ Filter = { Classes = ( BBSectionInfo ); }; }");
  EXPECT_TRUE(patched(run(setWidget, "renamed-host")));
  ChildResult without = run({"--no-section-class"}, "renamed-host", {{"TWEAK_LOADER_VERBOSE", "1"}});
  EXPECT_EQ(without.status, 0);
  EXPECT_EQ(without.err, "");
}

TEST_F(TweakLoader, MatchesByADeclaredBundleIdentifier) {
  writeFilter("{ Filter = { Bundles = ( com.apple.springboard ); }; }");
  EXPECT_FALSE(patched(run(setWidget)));
  EXPECT_TRUE(patched(run(setWidget, "bulletin-board-host", {{"TWEAK_LOADER_BUNDLES", "com.a:com.apple.springboard"}})));
}

TEST_F(TweakLoader, NamesEachLibraryItLoadsWhenAskedTo) {
  installShippedFilter();
  ChildResult result = run(setWidget, "bulletin-board-host", {{"TWEAK_LOADER_VERBOSE", "1"}});
  EXPECT_EQ(result.err, "tweakloader: loaded " + root_.file(kTweaks + "VelloriaSectionPatch.dylib") + "\n");
}

TEST_F(TweakLoader, DoesNotLoadALibraryWithoutAFilterAndSaysSoOnce) {
  ChildResult result = run(setWidget);
  EXPECT_FALSE(patched(result));
  EXPECT_EQ(result.err,
            "tweakloader: VelloriaSectionPatch.dylib has no readable filter VelloriaSectionPatch.plist; not loaded\n");
}

TEST_F(TweakLoader, ShowsControlCharactersInFileNamesAsEscapes) {
  fs::rename(root_.file(kTweaks + "VelloriaSectionPatch.dylib"), root_.file(kTweaks + "Evil\x1b[2J\u202e.dylib"));
  ChildResult result = run(setWidget);
  EXPECT_EQ(result.err, "tweakloader: Evil\\x1b[2J\\u{202e}.dylib has no readable filter Evil\\x1b[2J\\u{202e}.plist; "
                        "not loaded\n");
}

class MalformedFilter : public TweakLoader, public testing::WithParamInterface<std::pair<std::string, std::string>> {};

TEST_P(MalformedFilter, KeepsTheLibraryOutWithOneLine) {
  writeFilter(GetParam().first);
  ChildResult result = run(setWidget);
  EXPECT_FALSE(patched(result));
  EXPECT_EQ(result.err, "tweakloader: VelloriaSectionPatch.plist is malformed (" + GetParam().second +
                            "); VelloriaSectionPatch.dylib not loaded\n");
}

INSTANTIATE_TEST_SUITE_P(
    Filters, MalformedFilter,
    testing::Values(std::pair{"{ Filter = { Executables = ( \"bulletin-board-host\" ", "not a property list"},
                    std::pair{"", "no Filter dictionary"},
                    std::pair{"( \"bulletin-board-host\" )", "the root is not a dictionary"},
                    std::pair{"{ Executables = ( \"bulletin-board-host\" ); }", "no Filter dictionary"},
                    std::pair{"{ Filter = { Executables = \"bulletin-board-host\"; }; }", "Executables is not an array"},
                    std::pair{"{ Filter = { Executables = ( ( x ) ); }; }",
                              "Executables holds something other than strings"},
                    std::pair{"{ Filter = { Executables = ( x ); CoreFoundationVersion = 1; }; }",
                              "CoreFoundationVersion is not an array of one or two numbers"}));

TEST_F(TweakLoader, LoadsOnlyWithinTheCoreFoundationVersionRange) {
  writeFilter("{ Filter = { Executables = ( \"bulletin-board-host\" ); CoreFoundationVersion = ( 1240.1, 1348 ); }; }");
  EXPECT_TRUE(patched(run(setWidget)));
  writeFilter("{ Filter = { Executables = ( \"bulletin-board-host\" ); CoreFoundationVersion = ( 1348 ); }; }");
  ChildResult later = run(setWidget);
  EXPECT_FALSE(patched(later));
  EXPECT_EQ(later.err, "");
}

TEST_F(TweakLoader, ReportsALibraryThatFailsToLoad) {
  installShippedFilter();
  std::ofstream(root_.file(kTweaks + "VelloriaSectionPatch.dylib"), std::ios::trunc) << "not a library";
  ChildResult result = run(setWidget);
  EXPECT_FALSE(patched(result));
  EXPECT_THAT(result.err, HasSubstr("tweakloader: cannot load VelloriaSectionPatch.dylib: "));
  EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1);
}

TEST_F(TweakLoader, RunsInAProcessWithoutTheObjectRuntime) {
  writeFilter("{ Filter = { Classes = ( BBSectionInfo ); Executables = ( env ); }; }");
  ChildResult result = runChild({"/usr/bin/env"}, {{"LD_PRELOAD", TWEAK_LOADER_LIBRARY},
                                                   {"DEVICE_ROOT", root_.path().string()},
                                                   {"TWEAK_LOADER_VERBOSE", "1"}});
  EXPECT_EQ(result.status, 0);
  EXPECT_THAT(result.err, HasSubstr("tweakloader: loaded "));
}

}  // namespace
