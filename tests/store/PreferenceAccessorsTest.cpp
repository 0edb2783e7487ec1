// The exported typed accessors against a temporary device root.
#include <gtest/gtest.h>

#include "CoreFoundation/CFBridge.h"
#include "Foundation/NSUserDefaults.h"
#include "PlistTestSupport.h"
#include "TempRoot.h"
#include "Velloria/QHPreferences.h"
#include "platform/prefs/PreferenceStore.h"
#include "platform/plist/PropertyList.h"

using platform::Dictionary;
using platform::Value;

namespace {

constexpr const char* kDomainFile = "/var/mobile/Library/Preferences/com.quietharbor.velloria.plist";

class Accessors : public ::testing::Test {
 protected:
  void SetUp() override {
    pool_ = objc_autoreleasePoolPush();
    path_ = root_.file(kDomainFile);
  }
  void TearDown() override { objc_autoreleasePoolPop(pool_); }

  // Writes the domain file as another process would.
  void writeDomain(const Dictionary& d) { ASSERT_TRUE(platform::writePropertyListFile(path_, d)); }
  Dictionary readDomain() { return platform::readDictionaryFile(path_).value_or(Dictionary()); }

  testing_support::TempRoot root_;
  std::string path_;
  void* pool_ = nullptr;
};

TEST_F(Accessors, BooleansAndNumbersNeverStandInForEachOther) {
  writeDomain({{"flag", true}, {"one", 1}, {"text", "12"}, {"real", 2.75}});
  EXPECT_TRUE(QHPreferenceBoolForKey(CFSTR("flag"), false));
  EXPECT_EQ(QHPreferenceNumberForKey(CFSTR("flag")), nullptr);
  EXPECT_EQ(QHPreferecneIntForKey(CFSTR("flag"), 7), 7);
  EXPECT_FALSE(QHPreferenceBoolForKey(CFSTR("one"), false));
  EXPECT_TRUE(QHPreferenceBoolForKey(CFSTR("one"), true));
  EXPECT_EQ(QHPreferecneIntForKey(CFSTR("text"), 0), 0);
  EXPECT_EQ(QHPreferenceNumberForKey(CFSTR("text")), nullptr);
  EXPECT_EQ(QHPreferecneIntForKey(CFSTR("real"), 0), 2);
  EXPECT_FLOAT_EQ(QHPreferenceFloatForKey(CFSTR("real"), 0), 2.75f);
  EXPECT_EQ(QHPreferenceStringForKey(CFSTR("one")), nullptr);
  EXPECT_EQ(QHPreferenceArrayForKey(CFSTR("text")), nullptr);
  EXPECT_EQ(QHPreferecneIntForKey(CFSTR("absent"), -3), -3);
  EXPECT_FLOAT_EQ(QHPreferenceFloatForKey(CFSTR("absent"), 1.5f), 1.5f);
}

TEST_F(Accessors, IntValueCutsTowardZeroAndToThirtyTwoBits) {
  writeDomain({{"neg", -2.75}, {"big", 4294967298LL}, {"huge", 1e12}});
  EXPECT_EQ(QHPreferecneIntForKey(CFSTR("neg"), 0), -2);
  EXPECT_EQ(QHPreferecneIntForKey(CFSTR("big"), 0), 2);
  EXPECT_EQ(QHPreferecneIntForKey(CFSTR("huge"), 0), INT32_MAX);
}

TEST_F(Accessors, SettersReachTheFileAndTheGetters) {
  EXPECT_TRUE(QHPreferenceSetIntForKey(CFSTR("count"), 42));
  CFNumberRef n = QHPreferenceNumberForKey(CFSTR("count"));
  ASSERT_NE(n, nullptr);
  int32_t v = 0;
  EXPECT_TRUE(CFNumberGetValue(n, kCFNumberSInt32Type, &v));
  EXPECT_EQ(v, 42);
  EXPECT_EQ(QHPreferecneIntForKey(CFSTR("count"), 0), 42);
  EXPECT_TRUE(QHPreferenceBoolForKey(CFSTR("count"), true));
  EXPECT_FALSE(QHPreferenceBoolForKey(CFSTR("count"), false));

  EXPECT_TRUE(QHPreferenceSetStringForKey(CFSTR("color"), CFSTR("FF0000")));
  EXPECT_EQ(readDomain(), (Dictionary{{"count", 42}, {"color", "FF0000"}}));

  // nil removes the key.
  EXPECT_TRUE(QHPreferenceSetStringForKey(CFSTR("color"), nullptr));
  EXPECT_EQ(QHPreferenceStringForKey(CFSTR("color")), nullptr);
  EXPECT_EQ(readDomain(), (Dictionary{{"count", 42}}));

  // Any property-list object is stored unchanged by the string setter.
  const void* items[] = {CFSTR("a"), kCFBooleanTrue};
  platform::CFHolder array(CFArrayCreate(nullptr, items, 2, &kCFTypeArrayCallBacks));
  QHPreferenceSetStringForKey(CFSTR("list"), array.as<CFStringRef>());
  CFArrayRef back = QHPreferenceArrayForKey(CFSTR("list"));
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(CFArrayGetCount(back), 2);
  EXPECT_EQ(CFArrayGetValueAtIndex(back, 1), kCFBooleanTrue);
}

TEST_F(Accessors, ResultsAreIndependentCopiesThatOutliveLaterWrites) {
  QHPreferenceSetStringForKey(CFSTR("name"), CFSTR("first"));
  CFStringRef first = QHPreferenceStringForKey(CFSTR("name"));
  CFRetain(first);
  QHPreferenceSetStringForKey(CFSTR("name"), CFSTR("second"));
  void* inner = objc_autoreleasePoolPush();
  EXPECT_EQ(*platform::stringOfCF(QHPreferenceStringForKey(CFSTR("name"))), "second");
  objc_autoreleasePoolPop(inner);
  EXPECT_EQ(*platform::stringOfCF(first), "first");
  // The pool holds one reference and we hold one.
  EXPECT_EQ(CFGetRetainCount(first), 2);
  CFRelease(first);
}

TEST_F(Accessors, EveryGetterSeesOtherProcessesAndTheOtherRoute) {
  EXPECT_EQ(QHPreferenceStringForKey(CFSTR("k")), nullptr);
  writeDomain({{"k", "from another process"}});
  EXPECT_EQ(*platform::stringOfCF(QHPreferenceStringForKey(CFSTR("k"))), "from another process");

  // The user-defaults route of the panes, then the accessor.
  auto defaults = NSUserDefaults::standardUserDefaults();
  Dictionary d = defaults->persistentDomainForName("com.quietharbor.velloria").value_or(Dictionary());
  d.set("pane", "written by a pane");
  defaults->setPersistentDomain(d, "com.quietharbor.velloria");
  EXPECT_TRUE(defaults->synchronize());
  EXPECT_EQ(*platform::stringOfCF(QHPreferenceStringForKey(CFSTR("pane"))), "written by a pane");

  // And back: the accessor's write is in the next persistent domain read.
  QHPreferenceSetIntForKey(CFSTR("n"), 5);
  auto after = defaults->persistentDomainForName("com.quietharbor.velloria");
  ASSERT_TRUE(after);
  EXPECT_EQ(*after, (Dictionary{{"k", "from another process"}, {"pane", "written by a pane"}, {"n", 5}}));
}

TEST_F(Accessors, AWriteKeepsKeysAnotherProcessWroteMeanwhile) {
  QHPreferenceSetIntForKey(CFSTR("mine"), 1);
  Dictionary other = readDomain();
  other.set("theirs", "x");
  writeDomain(other);
  // Our stale view must not lose "theirs".
  QHPreferenceSetIntForKey(CFSTR("mine"), 2);
  EXPECT_EQ(readDomain(), (Dictionary{{"mine", 2}, {"theirs", "x"}}));
  // Nor must a persistent-domain write from a view taken before theirs.
  auto defaults = NSUserDefaults::standardUserDefaults();
  Dictionary view = *defaults->persistentDomainForName("com.quietharbor.velloria");
  Dictionary later = readDomain();
  later.set("late", true);
  writeDomain(later);
  view.set("pane", 1.5);
  defaults->setPersistentDomain(view, "com.quietharbor.velloria");
  defaults->synchronize();
  EXPECT_EQ(readDomain(), (Dictionary{{"mine", 2}, {"theirs", "x"}, {"late", true}, {"pane", 1.5}}));
}

TEST_F(Accessors, FloatsFromIntegersAreRoundedOnce) {
  // 2^62 + 2^38 + 1 lies just above the midpoint of two floats; by way of a
  // double it would first become the midpoint and then round to even.
  const long long big = (1LL << 62) + (1LL << 38) + 1;
  writeDomain({{"big", big}, {"huge", 18446744073709551615ULL}});
  EXPECT_EQ(QHPreferenceFloatForKey(CFSTR("big"), 0), 0x1p62f + 0x1p39f);
  EXPECT_EQ(QHPreferenceFloatForKey(CFSTR("huge"), 0), 0x1p64f);
}

TEST_F(Accessors, MalformedOrForeignFilesReadAsEmpty) {
  for (std::string content : {std::string("not a plist"), std::string("<?xml version=\"1.0\"?><plist><array/></plist>")}) {
    ASSERT_TRUE(platform::writeFileAtomically(path_, content));
    EXPECT_EQ(QHPreferenceStringForKey(CFSTR("k")), nullptr);
    EXPECT_EQ(QHPreferecneIntForKey(CFSTR("k"), 9), 9);
  }
  // The next write replaces the foreign file with a dictionary.
  EXPECT_TRUE(QHPreferenceSetIntForKey(CFSTR("k"), 1));
  EXPECT_EQ(readDomain(), (Dictionary{{"k", 1}}));
}

TEST_F(Accessors, UnencodableTextNeverBlocksTheDomain) {
  platform::CFHolder control(CFStringCreateWithCString(nullptr, "bell\a", kCFStringEncodingUTF8));
  QHPreferenceSetStringForKey(CFSTR("bad"), control.as<CFStringRef>());
  EXPECT_TRUE(QHPreferenceSetStringForKey(CFSTR("good"), CFSTR("ok")));
  EXPECT_EQ(readDomain(), (Dictionary{{"bad", "bell\a"}, {"good", "ok"}}));
  EXPECT_EQ(CFStringCreateWithCString(nullptr, "\xff", kCFStringEncodingUTF8), nullptr);
}

TEST_F(Accessors, OnlyTheCurrentUserAnyHostScopeIsKept) {
  CFPreferencesSetValue(CFSTR("k"), CFSTR("v"), CFSTR("com.quietharbor.velloria"), kCFPreferencesAnyUser,
                        kCFPreferencesAnyHost);
  EXPECT_FALSE(CFPreferencesSynchronize(CFSTR("com.quietharbor.velloria"), kCFPreferencesAnyUser, kCFPreferencesAnyHost));
  EXPECT_EQ(QHPreferenceStringForKey(CFSTR("k")), nullptr);
  // A domain name that would leave the preferences directory never touches a file.
  CFPreferencesSetValue(CFSTR("k"), CFSTR("v"), CFSTR("../escape"), kCFPreferencesCurrentUser, kCFPreferencesAnyHost);
  EXPECT_FALSE(CFPreferencesSynchronize(CFSTR("../escape"), kCFPreferencesCurrentUser, kCFPreferencesAnyHost));
}

TEST_F(Accessors, AFailedWriteIsReportedAndKeepsTheOldFile) {
  writeDomain({{"k", "old"}});
  // A directory standing where the lock and temporary files would go makes
  // every write fail, even for root.
  std::filesystem::remove(path_);
  std::filesystem::create_directory(path_);
  EXPECT_FALSE(QHPreferenceSetStringForKey(CFSTR("k"), CFSTR("new")));
  std::filesystem::remove(path_);
  writeDomain({{"k", "old"}});
  EXPECT_EQ(*platform::stringOfCF(QHPreferenceStringForKey(CFSTR("k"))), "new");  // still pending in this process
  EXPECT_TRUE(CFPreferencesSynchronize(_sAppId, kCFPreferencesCurrentUser, kCFPreferencesAnyHost));
  EXPECT_EQ(readDomain(), (Dictionary{{"k", "new"}}));
}

}  // namespace
