// The hex scan's status codes and untouched outputs, and the colours the
// accessor builds from stored strings.
#include <gtest/gtest.h>

#include <clocale>

#include "TempRoot.h"
#include "Velloria/QHPreferences.h"
#include "platform/plist/PropertyList.h"

namespace {

struct Scan {
  int status;
  uint32_t out;
};

Scan scan(const char* s, uint32_t start = 0xDEADBEEF) {
  uint32_t out = start;
  int status = hextoint(s, &out);
  return {status, out};
}

struct RGBA {
  double r, g, b, a;
};

RGBA colorOf(const platform::Value& stored, uint32_t defaultValue) {
  testing_support::TempRoot root;
  platform::Dictionary domain;
  if (!stored.isNil()) domain.set("c", stored);
  EXPECT_TRUE(platform::writePropertyListFile(
      root.file("/var/mobile/Library/Preferences/com.quietharbor.velloria.plist"), domain));
  void* pool = objc_autoreleasePoolPush();
  RGBA c{};
  UIColor* color = QHPreferenceColorForKey(CFSTR("c"), defaultValue);
  EXPECT_NE(color, nullptr);
  color->getRed(&c.r, &c.g, &c.b, &c.a);
  objc_autoreleasePoolPop(pool);
  return c;
}

}  // namespace

TEST(HexColorTest, StatusAndValue) {
  EXPECT_EQ(scan("FF0000").status, 1);
  EXPECT_EQ(scan("FF0000").out, 0xFF0000u);
  EXPECT_EQ(scan("ffa500").out, scan("FFA500").out);
  EXPECT_EQ(scan("#FF0000").status, 4);
  EXPECT_EQ(scan("#FF0000").out, 0xFF0000u);
  EXPECT_EQ(scan("0x00BFFF").status, 4);
  EXPECT_EQ(scan("0x00BFFF").out, 0x00BFFFu);
  EXPECT_EQ(scan("12G45").out, 0x45u);
  EXPECT_EQ(scan("FF ").status, 4);
  EXPECT_EQ(scan("FF ").out, 0u);
  EXPECT_EQ(scan(" FF").out, 0xFFu);
  EXPECT_EQ(scan("A\xC3\xA9").out, 0u);  // ends in a non-ASCII byte
  EXPECT_EQ(scan("FFFFFFFF").status, 1);
  EXPECT_EQ(scan("FFFFFFFF").out, 0xFFFFFFFFu);
}

TEST(HexColorTest, EmptyOverlongAndNullLeaveOutUntouched) {
  EXPECT_EQ(scan("").status, 1);
  EXPECT_EQ(scan("").out, 0xDEADBEEFu);
  EXPECT_EQ(scan("123456789").status, 2);
  EXPECT_EQ(scan("123456789").out, 0xDEADBEEFu);
  EXPECT_EQ(scan(nullptr).status, 1);
  EXPECT_EQ(scan(nullptr).out, 0xDEADBEEFu);
  EXPECT_EQ(hextoint("AB", nullptr), 1);
}

TEST(HexColorTest, DigitsDoNotDependOnTheLocale) {
  const char* previous = std::setlocale(LC_CTYPE, nullptr);
  std::string saved = previous ? previous : "C";
  std::setlocale(LC_CTYPE, "C.UTF-8");
  EXPECT_EQ(scan("\xEF\xBC\xA1").out, 0u);  // a full-width A is no digit
  std::setlocale(LC_CTYPE, saved.c_str());
}

TEST(HexColorTest, ColoursFromStoredStrings) {
  RGBA red = colorOf("FF0000", 0);
  EXPECT_DOUBLE_EQ(red.r, 1.0);
  EXPECT_DOUBLE_EQ(red.g, 0.0);
  EXPECT_DOUBLE_EQ(red.a, 1.0);
  RGBA grey = colorOf("A8A8AD", 0);
  EXPECT_DOUBLE_EQ(grey.r, 168 / 255.0);
  EXPECT_DOUBLE_EQ(grey.b, 173 / 255.0);
  EXPECT_DOUBLE_EQ(colorOf("#FF0000", 0).r, 1.0);
  // Red takes all sixteen upper bits.
  EXPECT_DOUBLE_EQ(colorOf("12345678", 0).r, 0x1234 / 255.0);
  EXPECT_GT(colorOf("12345678", 0).r, 1.0);
  // No trailing digits: black, not the default.
  RGBA black = colorOf("FF ", 0xFFFFFF);
  EXPECT_EQ(black.r + black.g + black.b, 0.0);
  EXPECT_DOUBLE_EQ(colorOf(" FF", 0).b, 1.0);
}

TEST(HexColorTest, DefaultColourWhenNothingUsableIsStored) {
  for (const platform::Value& stored :
       {platform::Value(), platform::Value(""), platform::Value("123456789"), platform::Value(42),
        platform::Value(true)}) {
    RGBA c = colorOf(stored, 0x00FF00);
    EXPECT_EQ(c.r, 0.0);
    EXPECT_EQ(c.g, 1.0);
    EXPECT_EQ(c.b, 0.0);
  }
}
