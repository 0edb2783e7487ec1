#include "Foundation/NSBundle.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>

#include "TempRoot.h"

namespace {

constexpr const char* kBundle = "/Library/PreferenceBundles/Test.bundle";

// Sets the locale variables for one test and puts the old values back.
class LanguageEnvironment {
 public:
  // Settings as "NAME=value"; the variables not named are unset.
  LanguageEnvironment(std::initializer_list<std::string> settings) {
    for (const char* name : kNames) {
      const char* old = std::getenv(name);
      saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
      unsetenv(name);
    }
    for (const auto& setting : settings) {
      auto equals = setting.find('=');
      setenv(setting.substr(0, equals).c_str(), setting.substr(equals + 1).c_str(), 1);
    }
  }
  LanguageEnvironment(const LanguageEnvironment&) = delete;
  LanguageEnvironment& operator=(const LanguageEnvironment&) = delete;
  ~LanguageEnvironment() {
    for (const auto& [name, value] : saved_) {
      if (value) {
        setenv(name.c_str(), value->c_str(), 1);
      } else {
        unsetenv(name.c_str());
      }
    }
  }

 private:
  static constexpr const char* kNames[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
  std::map<std::string, std::optional<std::string>> saved_;
};

class NSBundleTest : public ::testing::Test {
 protected:
  void write(const std::string& relative, const std::string& bytes) {
    std::ofstream(root_.file(std::string(kBundle) + "/" + relative), std::ios::binary) << bytes;
  }
  void writeInfo(const std::string& entries) {
    write("Info.plist",
          "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
          "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n<plist version=\"1.0\"><dict>" +
              entries + "</dict></plist>\n");
  }
  std::shared_ptr<NSBundle> bundle() {
    auto b = NSBundle::bundleWithPath(kBundle);
    EXPECT_TRUE(b);
    return b;
  }

  testing_support::TempRoot root_;
};

TEST_F(NSBundleTest, BundleNeedsADirectory) {
  EXPECT_FALSE(NSBundle::bundleWithPath("/Library/PreferenceBundles/Missing.bundle"));
  EXPECT_FALSE(NSBundle::bundleWithPath(""));
  write("file", "x");
  EXPECT_FALSE(NSBundle::bundleWithPath(std::string(kBundle) + "/file"));
  ASSERT_TRUE(NSBundle::bundleWithPath(kBundle));
  EXPECT_EQ(NSBundle::bundleWithPath(kBundle)->bundlePath(), kBundle);
}

TEST_F(NSBundleTest, InfoDictionary) {
  writeInfo("<key>NSPrincipalClass</key><string>VLRPListController</string>");
  auto b = bundle();
  const platform::Value* principal = b->objectForInfoDictionaryKey("NSPrincipalClass");
  ASSERT_TRUE(principal && principal->string());
  EXPECT_EQ(*principal->string(), "VLRPListController");
  EXPECT_EQ(b->objectForInfoDictionaryKey("Missing"), nullptr);
}

TEST_F(NSBundleTest, ResourcesComeFromTheBundleThenItsLocalisation) {
  LanguageEnvironment env{"LANG=en_US.UTF-8"};
  write("Main.plist", "root");
  write("en.lproj/Main.plist", "localised");
  write("en.lproj/Only.plist", "localised");
  write("README", "plain");
  auto b = bundle();
  EXPECT_EQ(b->pathForResource("Main", "plist"), std::string(kBundle) + "/Main.plist");
  EXPECT_EQ(b->pathForResource("Only", "plist"), std::string(kBundle) + "/en.lproj/Only.plist");
  EXPECT_EQ(b->pathForResource("README", ""), std::string(kBundle) + "/README");
  EXPECT_EQ(b->pathForResource("Missing", "plist"), std::nullopt);
  EXPECT_EQ(b->pathForResource("Main", "strings"), std::nullopt);
}

TEST_F(NSBundleTest, MissingKeyFallsBackToValueOrKey) {
  LanguageEnvironment env{"LANG=en_US.UTF-8"};
  write("en.lproj/Main.strings", "\"error\" = \"Error\";\n");
  write("en.lproj/Localizable.strings", "\"hello\" = \"Hello\";\n");
  auto b = bundle();
  EXPECT_EQ(b->localizedStringForKey("error", "", "Main"), "Error");
  EXPECT_EQ(b->localizedStringForKey("duplicated color name", "", "Main"), "duplicated color name");
  EXPECT_EQ(b->localizedStringForKey("duplicated color name", std::nullopt, "Main"), "duplicated color name");
  EXPECT_EQ(b->localizedStringForKey("duplicated color name", "Fallback", "Main"), "Fallback");
  EXPECT_EQ(b->localizedStringForKey("error", "", "NoSuchTable"), "error");
  EXPECT_EQ(b->localizedStringForKey("hello", "", std::nullopt), "Hello");
  EXPECT_EQ(b->localizedStringForKey("hello", "", ""), "Hello");
}

TEST_F(NSBundleTest, PreferredLanguageThenDevelopmentRegionThenBase) {
  write("zh-Hans.lproj/Main.strings", "\"error\" = \"\xE9\x94\x99\xE8\xAF\xAF\";\n");
  write("en.lproj/Main.strings", "\"error\" = \"Error\";\n\"only english\" = \"English\";\n");
  write("Base.lproj/Main.strings", "\"only base\" = \"Base text\";\n\"error\" = \"Base error\";\n");
  {
    LanguageEnvironment env{"LANG=zh_CN.UTF-8"};
    auto b = bundle();
    EXPECT_EQ(b->localizedStringForKey("error", "", "Main"), "\xE9\x94\x99\xE8\xAF\xAF");
    EXPECT_EQ(b->localizedStringForKey("only english", "", "Main"), "English");
    EXPECT_EQ(b->localizedStringForKey("only base", "", "Main"), "Base text");
  }
  {
    LanguageEnvironment env{"LANG=fr_FR.UTF-8"};
    EXPECT_EQ(bundle()->localizedStringForKey("error", "", "Main"), "Error");
  }
  {
    // LANGUAGE's list comes before LANG, and LC_ALL before LANG.
    LanguageEnvironment env{"LANGUAGE=fr:zh_CN", "LANG=en_US.UTF-8"};
    EXPECT_EQ(bundle()->localizedStringForKey("error", "", "Main"), "\xE9\x94\x99\xE8\xAF\xAF");
  }
  {
    LanguageEnvironment env{"LC_ALL=zh_SG", "LANG=en_US"};
    EXPECT_EQ(bundle()->localizedStringForKey("error", "", "Main"), "\xE9\x94\x99\xE8\xAF\xAF");
  }
}

TEST_F(NSBundleTest, DevelopmentRegionFromInfoPlist) {
  LanguageEnvironment env{"LANG=C"};
  writeInfo("<key>CFBundleDevelopmentRegion</key><string>de</string>");
  write("de.lproj/Main.strings", "\"error\" = \"Fehler\";\n");
  write("en.lproj/Main.strings", "\"error\" = \"Error\";\n");
  auto b = bundle();
  EXPECT_EQ(b->localizedStringForKey("error", "", "Main"), "Fehler");
  EXPECT_EQ(b->localizationSearchOrder(), (std::vector<std::string>{"de", "Base"}));
}

TEST_F(NSBundleTest, LanguageNamesCannotLeaveTheBundle) {
  LanguageEnvironment env{"LANGUAGE=../../outside", "LANG=en_US.UTF-8"};
  std::ofstream(root_.file("/Library/outside.lproj/Main.strings")) << "\"error\" = \"escaped\";\n";
  write("en.lproj/Main.strings", "\"error\" = \"Error\";\n");
  auto b = bundle();
  EXPECT_EQ(b->localizedStringForKey("error", "", "Main"), "Error");
  for (const auto& name : b->localizationSearchOrder()) EXPECT_EQ(name.find('/'), std::string::npos) << name;
}

TEST_F(NSBundleTest, XmlAndBinaryTables) {
  LanguageEnvironment env{"LANG=en_US.UTF-8"};
  write("en.lproj/Xml.strings",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
        "<key>error</key><string>XML error</string></dict></plist>\n");
  // {"greeting": "你好", "only-binary": "bin"} as a binary property list.
  const unsigned char binary[] = {
      0x62, 0x70, 0x6c, 0x69, 0x73, 0x74, 0x30, 0x30, 0xd2, 0x01, 0x02, 0x03, 0x04, 0x58, 0x67, 0x72,
      0x65, 0x65, 0x74, 0x69, 0x6e, 0x67, 0x5b, 0x6f, 0x6e, 0x6c, 0x79, 0x2d, 0x62, 0x69, 0x6e, 0x61,
      0x72, 0x79, 0x62, 0x4f, 0x60, 0x59, 0x7d, 0x53, 0x62, 0x69, 0x6e, 0x08, 0x0d, 0x16, 0x22, 0x27,
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x05,
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2b};
  write("en.lproj/Binary.strings", std::string(reinterpret_cast<const char*>(binary), sizeof binary));
  write("en.lproj/Broken.strings", "\"error\" = ");
  auto b = bundle();
  EXPECT_EQ(b->localizedStringForKey("error", "", "Xml"), "XML error");
  EXPECT_EQ(b->localizedStringForKey("greeting", "", "Binary"), "\xE4\xBD\xA0\xE5\xA5\xBD");
  EXPECT_EQ(b->localizedStringForKey("only-binary", "", "Binary"), "bin");
  EXPECT_EQ(b->localizedStringForKey("error", "", "Broken"), "error");
}

TEST_F(NSBundleTest, EachTableIsReadOnce) {
  LanguageEnvironment env{"LANG=en_US.UTF-8"};
  write("en.lproj/Main.strings", "\"error\" = \"Error\";\n");
  auto b = bundle();
  EXPECT_EQ(b->localizedStringForKey("error", "", "Main"), "Error");
  write("en.lproj/Main.strings", "\"error\" = \"Changed\";\n");
  EXPECT_EQ(b->localizedStringForKey("error", "", "Main"), "Error");
  EXPECT_EQ(bundle()->localizedStringForKey("error", "", "Main"), "Changed");
}

TEST_F(NSBundleTest, BundleForClassUsesTheRegistry) {
  writeInfo("");
  auto b = bundle();
  NSBundle::registerBundleForClass("VLRTestPane", b);
  EXPECT_EQ(NSBundle::bundleForClass("VLRTestPane"), b);
  EXPECT_EQ(NSBundle::bundleForClass("VLRUnregistered"), NSBundle::mainBundle());
  NSBundle::registerBundleForClass("VLRTestPane", nullptr);
  EXPECT_EQ(NSBundle::bundleForClass("VLRTestPane"), NSBundle::mainBundle());
}

}  // namespace
