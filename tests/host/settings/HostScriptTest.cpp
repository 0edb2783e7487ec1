// The settings host driven by scripts over the test bundle: what `dump`
// shows, and what the row commands store and do.
#include <gtest/gtest.h>

#include "HostRun.h"
#include "platform/plist/PropertyList.h"

namespace {

using host_test::HostFixture;

class HostScriptTest : public ::testing::Test {
 protected:
  // Runs commands that must succeed; returns what they printed.
  std::string ok(const std::string& commands) {
    auto r = host.run(commands);
    EXPECT_EQ(r.exitCode, 0) << "commands: " << commands << "\nstderr: " << r.err;
    return r.out;
  }
  platform::Value stored(const std::string& key) {
    auto domain = platform::readDictionaryFile(host.domainFile().string());
    if (!domain) return {};
    const platform::Value* v = domain->find(key);
    return v ? *v : platform::Value();
  }
  HostFixture host;
};

TEST_F(HostScriptTest, SettingsListBeforeAnythingIsOpened) {
  EXPECT_EQ(ok("dump"),
            "{\"pane\": null, \"title\": \"Settings\", \"right\": null, \"editing\": false, \"keyboard\": false, "
            "\"alert\": null, \"rows\": [{\"index\": 0, \"cell\": 1, \"name\": \"Host Test\", \"enabled\": true}], "
            "\"opened\": []}\n");
}

TEST_F(HostScriptTest, MainPaneDumpsEveryRowAsTheDesignSays) {
  std::string expected =
      "{\"pane\": \"HostMainPane\", \"title\": \"Host Test Pane\", \"right\": null, \"editing\": false, "
      "\"keyboard\": false, \"alert\": null, \"rows\": ["
      "{\"index\": 0, \"cell\": 0, \"name\": \"General\", \"enabled\": true, \"footer\": \"Footer text\"}, "
      "{\"index\": 1, \"cell\": 4, \"name\": \"Version\", \"value\": \"2.0\", \"enabled\": true, \"id\": \"version\"}, "
      "{\"index\": 2, \"cell\": 6, \"name\": \"Enabled\", \"value\": true, \"enabled\": true, \"key\": \"enabled\"}, "
      "{\"index\": 3, \"cell\": 9, \"name\": \"Mode\", \"value\": null, \"enabled\": true, \"key\": \"mode\", "
      "\"values\": [0, 1], \"titles\": [\"Day\", \"Week\"]}, "
      "{\"index\": 4, \"cell\": 2, \"name\": \"Colour\", \"value\": null, \"enabled\": true, \"key\": \"colour\", "
      "\"values\": [\"FF0000\", \"00FF00\"], \"titles\": [\"Red\", \"Green\"]}, "
      "{\"index\": 5, \"cell\": 8, \"name\": \"Nickname\", \"value\": null, \"enabled\": true, \"focused\": false, "
      "\"key\": \"nickname\"}, "
      "{\"index\": 6, \"cell\": 13, \"name\": \"Hello\", \"enabled\": true}, "
      "{\"index\": 7, \"cell\": 13, \"name\": \"Visit\", \"enabled\": true}, "
      "{\"index\": 8, \"cell\": 1, \"name\": \"Editor\", \"enabled\": true, \"detail\": \"HostEditPane\"}, "
      "{\"index\": 9, \"cell\": 1, \"name\": \"Broken\", \"enabled\": true, \"detail\": \"HostBrokenPane\"}, "
      "{\"index\": 10, \"cell\": 13, \"name\": \"Off\", \"enabled\": false}, "
      "{\"index\": 11, \"cell\": 1, \"name\": \"Missing\", \"enabled\": true, \"detail\": \"NoSuchPane\"}], "
      "\"opened\": []}\n";
  EXPECT_EQ(ok("open Host Test; dump"), expected);
  // Tapping the entry in the settings list opens the same pane.
  EXPECT_EQ(ok("tap 0; dump"), expected);
}

TEST_F(HostScriptTest, SwitchRowsStoreTheirNewState) {
  std::string out = ok("open Host Test; switch 2 off; dump");
  EXPECT_NE(out.find("\"name\": \"Enabled\", \"value\": false"), std::string::npos) << out;
  EXPECT_EQ(stored("enabled"), platform::Value(false));
  ok("open Host Test; tap 2");
  EXPECT_EQ(stored("enabled"), platform::Value(true));
}

TEST_F(HostScriptTest, ChooseTakesAValueOrATitle) {
  ok("open Host Test; choose 3 Week");
  EXPECT_EQ(stored("mode"), platform::Value(1));
  ok("open Host Test; choose 3 0");
  EXPECT_EQ(stored("mode"), platform::Value(0));
  // A link-list row chooses through its list of items and stores the value.
  std::string out = ok("open Host Test; choose 4 Green; dump");
  EXPECT_EQ(stored("colour"), platform::Value("00FF00"));
  EXPECT_NE(out.find("\"name\": \"Colour\", \"value\": \"00FF00\""), std::string::npos) << out;
}

TEST_F(HostScriptTest, LinkListRowOpensItsItemsAndTapStoresTheTappedItem) {
  std::string out = ok("open Host Test; tap 4; tap 1; dump");
  EXPECT_EQ(stored("colour"), platform::Value("FF0000"));
  EXPECT_NE(out.find("\"pane\": \"PSListItemsController\""), std::string::npos) << out;
  // Each item carries the value it stands for.
  EXPECT_NE(out.find("\"name\": \"Green\", \"value\": false, \"enabled\": true, \"item\": \"00FF00\""),
            std::string::npos)
      << out;
}

TEST_F(HostScriptTest, TypedTextDecodesEscapesAndIsStoredWhenTheFieldResigns) {
  std::string out = ok("open Host Test; focus 5; type Ann\\u{E9} \\t\\\\x; dump; dismiss; dump");
  EXPECT_NE(out.find("\"keyboard\": true"), std::string::npos) << out;
  EXPECT_NE(out.find("\"focused\": true"), std::string::npos) << out;
  EXPECT_EQ(stored("nickname"), platform::Value("Ann\u00e9 \t\\x"));
  EXPECT_NE(out.rfind("\"value\": \"Ann\u00e9 \\t\\\\x\", \"enabled\": true, \"focused\": false"), std::string::npos)
      << out;
}

TEST_F(HostScriptTest, TypeKeepsSpacesAndSemicolonsOfAScriptLine) {
  std::filesystem::path script = host.scratch() / "typing.txt";
  std::filesystem::create_directories(host.scratch());
  std::ofstream(script) << "open Host Test\nfocus 5\ntype  two  spaces; and more \ndismiss\n";
  auto r = host.runArgs({"--root", host.root().string(), "--script", script.string()});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(stored("nickname"), platform::Value(" two  spaces; and more "));
}

TEST_F(HostScriptTest, AlertIsModalUntilOk) {
  auto r = host.run("open Host Test; tap 6; dump; tap 7");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.out.find("\"alert\": {\"title\": \"Hello\", \"message\": \"World\", \"button\": \"OK\"}"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.err.find("ok"), std::string::npos) << r.err;
  std::string out = ok("open Host Test; tap 6; ok; tap 7; dump");
  EXPECT_NE(out.find("\"alert\": null"), std::string::npos) << out;
  EXPECT_NE(out.find("\"opened\": [\"hosttest://site\"]"), std::string::npos) << out;
}

TEST_F(HostScriptTest, EditablePaneGetsTheEditButtonAndDeletesInEditingMode) {
  std::string out = ok("open Host Test; tap 8; dump; right; dump; delete 4; dump; right; dump");
  std::vector<std::string> dumps;
  for (std::size_t start = 0, end; (end = out.find('\n', start)) != std::string::npos; start = end + 1)
    dumps.push_back(out.substr(start, end - start));
  ASSERT_EQ(dumps.size(), 4u) << out;
  EXPECT_NE(dumps[0].find("\"right\": {\"title\": \"Edit\", \"system\": null}, \"editing\": false"), std::string::npos);
  EXPECT_NE(dumps[1].find("\"right\": {\"title\": \"Done\", \"system\": null}, \"editing\": true"), std::string::npos);
  EXPECT_NE(dumps[1].find("\"index\": 4, \"cell\": 4, \"name\": \"A\", \"value\": \"value of A\""), std::string::npos);
  EXPECT_NE(dumps[2].find("\"index\": 4, \"cell\": 4, \"name\": \"B\""), std::string::npos) << dumps[2];
  EXPECT_EQ(dumps[2].find("\"name\": \"A\""), std::string::npos) << dumps[2];
  EXPECT_NE(dumps[3].find("\"right\": {\"title\": \"Edit\", \"system\": null}, \"editing\": false"), std::string::npos);
}

TEST_F(HostScriptTest, KeyboardNotificationsArriveInTheDevicesOrder) {
  std::string out = ok("open Host Test; tap 8; focus 1; focus 1; dismiss; dump");
  EXPECT_NE(out.find("\"value\": \"WillShow,DidShow,WillHide,DidHide\""), std::string::npos) << out;
  EXPECT_NE(out.find("\"keyboard\": false"), std::string::npos) << out;
}

TEST_F(HostScriptTest, SwitchControlHoldsTheNewStateBeforeTheSetterRuns) {
  std::string out = ok("open Host Test; tap 8; switch 2 on; tap 2; dump");
  EXPECT_NE(out.find("\"value\": \"switch on value true,switch off value false\""), std::string::npos) << out;
}

TEST_F(HostScriptTest, BackPopsPanesDownToTheSettingsList) {
  std::string out = ok("open Host Test; tap 8; back; dump; back; dump");
  EXPECT_NE(out.find("{\"pane\": \"HostMainPane\""), std::string::npos) << out;
  EXPECT_NE(out.find("{\"pane\": null"), std::string::npos) << out;
  EXPECT_EQ(host.run("open Host Test; back; back").exitCode, 1);
}

TEST_F(HostScriptTest, PaneNoBundleDefinesIsReportedNotAvailable) {
  auto r = host.run("open Host Test; tap 11");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("\"NoSuchPane\""), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("not available"), std::string::npos) << r.err;
}

TEST_F(HostScriptTest, PlistNamingAnUnknownGetterNamesPlistRowAndGetter) {
  auto r = host.run("open Host Test; tap 9");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("Broken.plist"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("row 0"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("noSuchGetter"), std::string::npos) << r.err;
}

TEST_F(HostScriptTest, CommandsComeFromStandardInputWhenItIsNoTerminal) {
  auto r = host.runArgs({"--root", host.root().string()}, "open Host Test\n# a comment\n\nswitch 2 off\n");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(stored("enabled"), platform::Value(false));
}

TEST_F(HostScriptTest, ShowDrawsTheRowsAndTheirValues) {
  std::string out = ok("open Host Test; choose 3 Week; show");
  EXPECT_NE(out.find("== Host Test Pane =="), std::string::npos) << out;
  EXPECT_NE(out.find("Mode  Day | [Week]"), std::string::npos) << out;
  EXPECT_NE(out.find("[ Off ]  (disabled)"), std::string::npos) << out;
}

TEST_F(HostScriptTest, EntriesOfBothStylesAreListedAndBrokenOnesSkipped) {
  auto dir = host.root() / "Library/PreferenceLoader/Preferences";
  std::ofstream(dir / "A-Flat.plist")
      << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
         "<key>label</key><string>Flat</string><key>bundle</key><string>HostTest</string></dict></plist>\n";
  std::ofstream(dir / "B-Broken.plist") << "not a property list";
  std::ofstream(dir / "C-NoBundle.plist")
      << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
         "<key>entry</key><dict><key>label</key><string>Nothing</string></dict></dict></plist>\n";
  std::string out = ok("dump; open Flat; dump");
  EXPECT_NE(out.find("\"rows\": [{\"index\": 0, \"cell\": 1, \"name\": \"Flat\", \"enabled\": true}, "
                     "{\"index\": 1, \"cell\": 1, \"name\": \"Host Test\", \"enabled\": true}]"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("{\"pane\": \"HostMainPane\""), std::string::npos) << out;
}

}  // namespace
