// Bad input to the settings host: a clear message, a non-zero exit in a
// script, the commands after the bad one not run, and nothing written.
#include <gtest/gtest.h>

#include "HostRun.h"

namespace {

using host_test::HostFixture;
using host_test::HostResult;

class HostErrorsTest : public ::testing::Test {
 protected:
  // A script that must fail with a message containing `message`, leaving the
  // preference directory empty.
  void expectRefused(const HostResult& r, const std::string& message) {
    EXPECT_EQ(r.exitCode, 1) << r.out;
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    EXPECT_TRUE(std::filesystem::is_empty(host.domainFile().parent_path()));
  }
  HostResult runScript(const std::string& text) {
    std::filesystem::create_directories(host.scratch());
    auto path = host.scratch() / "script.txt";
    std::ofstream(path, std::ios::binary) << text;
    return host.runArgs({"--root", host.root().string(), "--script", path.string()});
  }
  HostFixture host;
};

TEST_F(HostErrorsTest, UnknownCommandStopsTheScript) {
  expectRefused(host.run("open Host Test; frobnicate 2; switch 2 off"), "unknown command \"frobnicate\"");
}

TEST_F(HostErrorsTest, RowNumbersOutOfRangeOrMalformed) {
  expectRefused(host.run("open Host Test; tap 99; switch 2 off"), "no row 99");
  expectRefused(host.run("open Host Test; tap two"), "\"two\" is not a row number");
  expectRefused(host.run("open Host Test; tap -1"), "\"-1\" is not a row number");
  expectRefused(host.run("tap 3"), "no entry 3");
}

TEST_F(HostErrorsTest, CommandsARowCannotTake) {
  expectRefused(host.run("open Host Test; switch 1 on"), "row 1 (title-value \"Version\") is no switch");
  expectRefused(host.run("open Host Test; choose 2 on"), "has no values to choose from");
  expectRefused(host.run("open Host Test; focus 3"), "is no text row");
  expectRefused(host.run("open Host Test; tap 1"), "cannot be tapped");
  expectRefused(host.run("open Host Test; tap 10"), "is disabled");
  expectRefused(host.run("open Host Test; delete 1"), "no editing mode");
  expectRefused(host.run("open Host Test; tap 8; delete 4"), "not in editing mode");
  expectRefused(host.run("open Host Test; tap 8; right; delete 1"), "cannot be deleted");
  expectRefused(host.run("open Host Test; choose 3 Month"), "choices: Day (0), Week (1)");
  expectRefused(host.run("open Host Test; switch 2 maybe"), "say on or off");
  expectRefused(host.run("open Host Test; right"), "no button on the right");
  expectRefused(host.run("open Host Test; type abc"), "no field is focused");
  expectRefused(host.run("open Host Test; dismiss"), "no field is focused");
  expectRefused(host.run("ok"), "no alert");
  expectRefused(host.run("open Nowhere"), "no settings entry is labelled \"Nowhere\" (entries: \"Host Test\")");
}

TEST_F(HostErrorsTest, InvalidUTF8TypedIsRefusedAndNeverStored) {
  expectRefused(runScript("open Host Test\nfocus 5\ntype ab\xff\ndismiss\n"), "not valid UTF-8");
  expectRefused(runScript("open Host Test\nfocus 5\ntype \xc0\xaf\ndismiss\n"), "not valid UTF-8");
  expectRefused(host.run("open Host Test; focus 5; type a\\u{D800}; dismiss"), "not a Unicode character");
  expectRefused(host.run("open Host Test; focus 5; type a\\u{110000}; dismiss"), "not a Unicode character");
}

TEST_F(HostErrorsTest, MalformedEscapesAreRefused) {
  expectRefused(host.run("open Host Test; focus 5; type a\\q; dismiss"), "unknown escape \\q");
  expectRefused(host.run("open Host Test; focus 5; type a\\u{zz}; dismiss"), "not hexadecimal");
  expectRefused(host.run("open Host Test; focus 5; type a\\u41; dismiss"), "malformed \\u escape");
  expectRefused(host.run("open Host Test; focus 5; type a\\; dismiss"), "lone backslash");
}

TEST_F(HostErrorsTest, ScriptErrorsNameTheLine) {
  auto r = runScript("open Host Test\n\ntap 42\n");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("line 3:"), std::string::npos) << r.err;
}

TEST_F(HostErrorsTest, BadInvocationExitsWithTwo) {
  EXPECT_EQ(host.runArgs({"--root"}).exitCode, 2);
  EXPECT_EQ(host.runArgs({"--bogus"}).exitCode, 2);
  EXPECT_EQ(host.runArgs({"--root", (host.root() / "absent").string(), "-c", "dump"}).exitCode, 2);
  EXPECT_EQ(host.runArgs({"--root", host.root().string(), "--script", (host.root() / "none.txt").string()}).exitCode,
            2);
  EXPECT_EQ(host.runArgs({"-c", "dump", "--script", "x"}).exitCode, 2);
}

TEST_F(HostErrorsTest, EntryWhoseBundleCannotLoadIsAClearError) {
  std::filesystem::remove(host.root() / "Library/PreferenceBundles/HostTest.bundle/HostTest");
  expectRefused(host.run("open Host Test"), "cannot load");
}

}  // namespace
