// The section bundle path patch in a running bulletin-board host. Every case
// runs the host in a process of its own, since the patch installs itself once
// per process, with the patch library preloaded.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ChildProcess.h"

namespace {

using sectionpatch_test::ChildResult;
using sectionpatch_test::runChild;
using testing::ElementsAre;

const std::string kWidget = "/System/Library/WeeAppPlugins/Velloria.bundle";

ChildResult host(std::vector<std::string> args, bool withPatch = true) {
  args.insert(args.begin(), BULLETIN_BOARD_HOST);
  return runChild(args, {{"LD_PRELOAD", withPatch ? SECTION_PATCH_LIBRARY : ""}});
}

std::vector<std::string> linesOf(const ChildResult& result) {
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  return result.outLines();
}

TEST(PatchedHost, WithoutThePatchPathsAreKeptAsSet) {
  EXPECT_THAT(linesOf(host({"set /Library/WeeAppPlugins/Velloria.bundle", "get"}, false)),
              ElementsAre("held BBSectionInfo /Library/WeeAppPlugins/Velloria.bundle",
                          "got BBSectionInfo /Library/WeeAppPlugins/Velloria.bundle"));
}

TEST(PatchedHost, SettingAWidgetPathInAnotherDirectoryStoresTheWidgetBundlePath) {
  EXPECT_THAT(linesOf(host({"set /Library/WeeAppPlugins/Velloria.bundle", "get"})),
              ElementsAre("held BBSectionInfo " + kWidget, "got BBSectionInfo " + kWidget));
}

TEST(PatchedHost, AStoredPathInAnotherDirectoryReadsAsTheWidgetBundlePath) {
  EXPECT_THAT(linesOf(host({"store /var/stash/Themes/Velloria.bundle", "get"})),
              ElementsAre("held BBSectionInfo /var/stash/Themes/Velloria.bundle", "got BBSectionInfo " + kWidget));
}

TEST(PatchedHost, ABareBundleNameIsReplacedBothWays) {
  EXPECT_THAT(linesOf(host({"set Velloria.bundle", "store Velloria.bundle", "get"})),
              ElementsAre("held BBSectionInfo " + kWidget, "held BBSectionInfo Velloria.bundle",
                          "got BBSectionInfo " + kWidget));
}

TEST(PatchedHost, NilPassesThroughBothWays) {
  EXPECT_THAT(linesOf(host({"set /Library/WeeAppPlugins/Velloria.bundle", "set nil", "get", "store nil", "get"})),
              ElementsAre("held BBSectionInfo " + kWidget, "held BBSectionInfo nil", "got BBSectionInfo nil",
                          "held BBSectionInfo nil", "got BBSectionInfo nil"));
}

// Paths whose last component is not exactly "Velloria.bundle".
class UnchangedPath : public testing::TestWithParam<std::string> {};

TEST_P(UnchangedPath, PassesThroughTheSetterAndTheGetter) {
  const std::string& path = GetParam();
  EXPECT_THAT(linesOf(host({"set " + path, "get", "store " + path, "get"})),
              ElementsAre("held BBSectionInfo " + path, "got BBSectionInfo " + path, "held BBSectionInfo " + path,
                          "got BBSectionInfo " + path));
}

INSTANTIATE_TEST_SUITE_P(Paths, UnchangedPath,
                         testing::Values("/Library/WeeAppPlugins/Weather.bundle",
                                         "/Library/WeeAppPlugins/velloria.bundle",
                                         "/Library/WeeAppPlugins/Velloria.bundle/", "Velloria.bundle//",
                                         "/Library/WeeAppPlugins/Velloria.bundle.disabled",
                                         "/Library/Velloria.bundle/Info.plist", "/Library/WeeAppPlugins/ Velloria.bundle",
                                         "/Library/WeeAppPlugins/Velloria.bündle", "/", "", "Velloria"));

TEST(PatchedHost, RepeatedSeparatorsStillEndInTheWidgetBundleName) {
  EXPECT_THAT(linesOf(host({"set //Library//WeeAppPlugins//Velloria.bundle", "store ///Velloria.bundle", "get"})),
              ElementsAre("held BBSectionInfo " + kWidget, "held BBSectionInfo ///Velloria.bundle",
                          "got BBSectionInfo " + kWidget));
}

TEST(PatchedHost, OwnMethodsAreReplacedOnlyInTheSectionClass) {
  EXPECT_THAT(linesOf(host({"methods", "use BBSectionInfoBase", "set /a/Velloria.bundle", "get", "methods",
                            "use BBSectionInfoSibling", "set /a/Velloria.bundle", "store /b/Velloria.bundle", "get",
                            "methods"})),
              ElementsAre("methods BBSectionInfo own own", "using BBSectionInfoBase",
                          "held BBSectionInfoBase /a/Velloria.bundle", "got BBSectionInfoBase /a/Velloria.bundle",
                          "methods BBSectionInfoBase own own", "using BBSectionInfoSibling",
                          "held BBSectionInfoSibling /a/Velloria.bundle", "held BBSectionInfoSibling /b/Velloria.bundle",
                          "got BBSectionInfoSibling /b/Velloria.bundle",
                          "methods BBSectionInfoSibling inherited inherited"));
}

TEST(PatchedHost, InheritedMethodsAreUnpatchedWithoutThePatch) {
  EXPECT_THAT(linesOf(host({"--inherit", "methods"}, false)), ElementsAre("methods BBSectionInfo inherited inherited"));
}

TEST(PatchedHost, InheritedMethodsGetReplacementsAddedToTheSectionClassAlone) {
  EXPECT_THAT(
      linesOf(host({"--inherit", "methods", "set /Library/WeeAppPlugins/Velloria.bundle", "store /x/Velloria.bundle",
                    "get", "use BBSectionInfoBase", "set /a/Velloria.bundle", "get", "methods",
                    "use BBSectionInfoSibling", "set /a/Velloria.bundle", "store /b/Velloria.bundle", "get", "methods"})),
      ElementsAre("methods BBSectionInfo own own", "held BBSectionInfo " + kWidget,
                  "held BBSectionInfo /x/Velloria.bundle", "got BBSectionInfo " + kWidget, "using BBSectionInfoBase",
                  "held BBSectionInfoBase /a/Velloria.bundle", "got BBSectionInfoBase /a/Velloria.bundle",
                  "methods BBSectionInfoBase own own", "using BBSectionInfoSibling",
                  "held BBSectionInfoSibling /a/Velloria.bundle", "held BBSectionInfoSibling /b/Velloria.bundle",
                  "got BBSectionInfoSibling /b/Velloria.bundle", "methods BBSectionInfoSibling inherited inherited"));
}

TEST(PatchedHost, WithoutTheSectionClassNothingIsPatched) {
  ChildResult result = host({"--no-section-class", "use BBSectionInfoBase", "set /a/Velloria.bundle", "get",
                             "methods", "use BBSectionInfoSibling", "methods"});
  EXPECT_THAT(linesOf(result), ElementsAre("using BBSectionInfoBase", "held BBSectionInfoBase /a/Velloria.bundle",
                                           "got BBSectionInfoBase /a/Velloria.bundle", "methods BBSectionInfoBase own own",
                                           "using BBSectionInfoSibling",
                                           "methods BBSectionInfoSibling inherited inherited"));
}

// Only one of the two selectors exists: it is replaced, the other one is not
// created. Each shape with own and with inherited methods.
struct OneMethodCase {
  std::vector<std::string> options;
  std::vector<std::string> expected;
};

class OneMethod : public testing::TestWithParam<OneMethodCase> {};

TEST_P(OneMethod, TheOtherIsReplacedAndTheMissingOneStaysMissing) {
  std::vector<std::string> args = GetParam().options;
  for (const char* command : {"methods", "set /a/Velloria.bundle", "store /b/Velloria.bundle", "get",
                              "use BBSectionInfoBase", "methods", "store /b/Velloria.bundle", "get"})
    args.push_back(command);
  EXPECT_THAT(linesOf(host(args)), testing::ElementsAreArray(GetParam().expected));
}

const std::vector<std::string> kGetterOnly = {
    "methods BBSectionInfo own none", "unsupported BBSectionInfo setPathToWeeAppPluginBundle:",
    "held BBSectionInfo /b/Velloria.bundle", "got BBSectionInfo " + kWidget, "using BBSectionInfoBase",
    "methods BBSectionInfoBase own none", "held BBSectionInfoBase /b/Velloria.bundle",
    "got BBSectionInfoBase /b/Velloria.bundle"};
const std::vector<std::string> kSetterOnly = {
    "methods BBSectionInfo none own", "held BBSectionInfo " + kWidget, "held BBSectionInfo /b/Velloria.bundle",
    "unsupported BBSectionInfo pathToWeeAppPluginBundle", "using BBSectionInfoBase",
    "methods BBSectionInfoBase none own", "held BBSectionInfoBase /b/Velloria.bundle",
    "unsupported BBSectionInfoBase pathToWeeAppPluginBundle"};

INSTANTIATE_TEST_SUITE_P(Shapes, OneMethod,
                         testing::Values(OneMethodCase{{"--getter-only"}, kGetterOnly},
                                         OneMethodCase{{"--getter-only", "--inherit"}, kGetterOnly},
                                         OneMethodCase{{"--setter-only"}, kSetterOnly},
                                         OneMethodCase{{"--setter-only", "--inherit"}, kSetterOnly}));

TEST(PatchedHost, CommandsAreReadFromStandardInput) {
  ChildResult result = runChild({BULLETIN_BOARD_HOST}, {{"LD_PRELOAD", SECTION_PATCH_LIBRARY}},
                                "set /Library/WeeAppPlugins/Velloria.bundle\r\n\nget\n");
  EXPECT_THAT(linesOf(result), ElementsAre("held BBSectionInfo " + kWidget, "got BBSectionInfo " + kWidget));
}

TEST(PatchedHost, AnUnknownCommandStopsTheHostWithAnError) {
  ChildResult result = host({"get", "fly away", "get"});
  EXPECT_EQ(result.status, 1);
  EXPECT_THAT(result.outLines(), ElementsAre("got BBSectionInfo nil"));
  EXPECT_EQ(result.err, "bulletin-board-host: unknown command: fly away\n");
}

}  // namespace
