// The widget data file: absent and foreign content reads as empty, every
// rewrite keeps other keys, and concurrent writers lose nothing.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "PlistTestSupport.h"
#include "TempRoot.h"
#include "WidgetData.h"
#include "platform/os/FileSystem.h"
#include "platform/plist/PropertyList.h"

using platform::Dictionary;
using platform::Value;

class WidgetData : public ::testing::Test {
 protected:
  void SetUp() override { path_ = root_.file(velloria::kWidgetDataPath); }
  testing_support::TempRoot root_;
  std::string path_;
};

TEST_F(WidgetData, AbsentAndForeignContentReadsEmpty) {
  EXPECT_FALSE(velloria::readWidgetData());
  EXPECT_TRUE(velloria::widgetDictionary(velloria::readWidgetData(), "extra-colors").empty());
  ASSERT_TRUE(platform::writePropertyListFile(path_, platform::Array{1}));
  EXPECT_FALSE(velloria::readWidgetData());
  ASSERT_TRUE(platform::writePropertyListFile(
      path_, Dictionary{{"extra-colors", "not a dictionary"}, {"solar-festivals", Dictionary{{"0101", "New"}}}}));
  auto file = velloria::readWidgetData();
  ASSERT_TRUE(file);
  EXPECT_TRUE(velloria::widgetDictionary(file, "extra-colors").empty());
  EXPECT_EQ(velloria::widgetDictionary(file, "solar-festivals").size(), 1u);
  EXPECT_TRUE(velloria::widgetDictionary(file, "lunar-festivals").empty());
}

TEST_F(WidgetData, RewritesKeepOtherKeysAndReplaceForeignRoots) {
  ASSERT_TRUE(velloria::writeWidgetData({{"extra-colors", Dictionary{{"Mine", "123456"}}}}));
  EXPECT_EQ(*velloria::readWidgetData(), (Dictionary{{"extra-colors", Dictionary{{"Mine", "123456"}}}}));

  Dictionary withOthers{{"widget-own", 5}, {"solar-festivals", Dictionary{{"0101", "New"}}}};
  ASSERT_TRUE(platform::writePropertyListFile(path_, withOthers));
  ASSERT_TRUE(velloria::writeWidgetData({{"extra-colors", Dictionary{{"Mine", "123456"}}}}));
  auto file = *velloria::readWidgetData();
  EXPECT_EQ(*file.find("widget-own"), Value(5));
  EXPECT_EQ(*file.find("solar-festivals"), Value(Dictionary{{"0101", "New"}}));
  EXPECT_EQ(file.size(), 3u);

  // A root that is not a dictionary is replaced by the writer's keys alone.
  ASSERT_TRUE(platform::writePropertyListFile(path_, "just a string"));
  ASSERT_TRUE(velloria::writeWidgetData({{"solar-festivals", Dictionary{}}, {"lunar-festivals", Dictionary{}}}));
  EXPECT_EQ(velloria::readWidgetData()->size(), 2u);
  // No temporary or stray file is left beside the data file, only its lock.
  for (const auto& name : platform::listDirectory((root_.path() / "System/Library/WeeAppPlugins/Velloria.bundle").string())) {
    EXPECT_TRUE(name == "velcfg.plist" || name == "velcfg.plist.lock") << name;
  }
}

TEST_F(WidgetData, AFailedWriteIsReportedAndKeepsTheFile) {
  ASSERT_TRUE(platform::writePropertyListFile(path_, Dictionary{{"extra-colors", Dictionary{{"a", "1"}}}}));
  std::string before = testing_support::slurp(path_);
  EXPECT_FALSE(velloria::writeWidgetData({{"extra-colors", Dictionary{{"bad", std::string("\xFF")}}}}));
  EXPECT_EQ(testing_support::slurp(path_), before);
}

TEST_F(WidgetData, ConcurrentWritersInSeveralProcessesLoseNothing) {
  const int writers = 4, perWriter = 25;
  std::vector<pid_t> children;
  for (int w = 0; w < writers; ++w) {
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      // Each writer adds keys of its own, one rewrite at a time; without the
      // lock, one writer's rewrite would drop keys another just added.
      bool ok = true;
      for (int i = 0; i < perWriter; ++i) {
        std::string key = "w" + std::to_string(w) + "-" + std::to_string(i);
        ok = velloria::writeWidgetData({{"extra-" + key, Dictionary{{key, "000000"}}}}) && ok;
      }
      _exit(ok ? 0 : 1);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  EXPECT_EQ(velloria::readWidgetData()->size(), static_cast<std::size_t>(writers * perWriter));
}
