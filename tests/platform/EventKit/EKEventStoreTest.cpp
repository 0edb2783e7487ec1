#include "EventKit/EventKit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "TempRoot.h"

namespace {

// 8-4-4-4-12 uppercase hex digits.
bool isUuidShaped(const std::string& s) {
  if (s.size() != 36) return false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    bool dash = i == 8 || i == 13 || i == 18 || i == 23;
    bool hex = (s[i] >= '0' && s[i] <= '9') || (s[i] >= 'A' && s[i] <= 'F');
    if (dash ? s[i] != '-' : !hex) return false;
  }
  return true;
}

class EventStoreTest : public ::testing::Test {
 protected:
  void write(const std::string& name, const std::string& text) {
    std::ofstream(root_.file(std::string(EKEventStore::kCalendarsDirectory) + "/" + name), std::ios::binary) << text;
  }
  static std::string calendar(const std::string& properties) {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n" + properties +
           "BEGIN:VEVENT\r\nUID:1\r\nDTSTART:20260101T000000Z\r\nSUMMARY:x\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
  }

  testing_support::TempRoot root_;
};

TEST_F(EventStoreTest, NoDirectoryMeansNoCalendars) { EXPECT_TRUE(EKEventStore().calendars().empty()); }

TEST_F(EventStoreTest, TitleAndIdentifierFromTheFileOrItsName) {
  write("b-work.ics", calendar("X-WR-CALNAME:Work\\, shared\r\nX-WR-RELCALID:5A1B-WORK\r\n"));
  write("a-home.ics", calendar(""));
  write("c-typed.ics", calendar("X-WR-CALNAME;VALUE=TEXT:Lunar\r\n  holidays\r\nX-WR-RELCALID:\r\n"));
  // A folded line: the break and the one space after it are removed.
  const auto& calendars = EKEventStore().calendars();
  ASSERT_EQ(calendars.size(), 3u);
  EXPECT_EQ(calendars[0]->title(), "a-home");
  EXPECT_EQ(calendars[0]->calendarIdentifier(), EKEventStore::identifierForFileName("a-home.ics"));
  EXPECT_EQ(calendars[1]->title(), "Work, shared");
  EXPECT_EQ(calendars[1]->calendarIdentifier(), "5A1B-WORK");
  EXPECT_EQ(calendars[2]->title(), "Lunar holidays");
  EXPECT_EQ(calendars[2]->calendarIdentifier(), EKEventStore::identifierForFileName("c-typed.ics"));
}

TEST_F(EventStoreTest, DerivedIdentifiersAreStableAndDistinct) {
  std::string home = EKEventStore::identifierForFileName("Home.ics");
  EXPECT_TRUE(isUuidShaped(home)) << home;
  EXPECT_EQ(home, EKEventStore::identifierForFileName("Home.ics"));
  EXPECT_NE(home, EKEventStore::identifierForFileName("home.ics"));
  EXPECT_NE(home, EKEventStore::identifierForFileName("Home2.ics"));
  // The same on every machine and run: the hash is fixed, not seeded.
  EXPECT_EQ(EKEventStore::identifierForFileName("Home.ics"), EKEventStore::identifierForFileName(std::string("Home.ics")));
  write("Home.ics", calendar(""));
  EXPECT_EQ(EKEventStore().calendars().at(0)->calendarIdentifier(), home);
  EXPECT_EQ(EKEventStore().calendars().at(0)->calendarIdentifier(), home);
}

TEST_F(EventStoreTest, BadFilesAreSkipped) {
  write("1-good.ics", calendar("X-WR-CALNAME:Good\r\n"));
  write("2-garbage.ics", "this is not a calendar\n");
  write("3-empty.ics", "");
  write("4-unterminated.ics", "BEGIN:VCALENDAR\r\nX-WR-CALNAME:Cut\r\n");
  write("5-event-only.ics", "BEGIN:VEVENT\r\nSUMMARY:x\r\nEND:VEVENT\r\n");
  write("6-bad-utf8.ics", calendar("X-WR-CALNAME:\xC3\x28\r\n"));
  write(".7-hidden.ics", calendar("X-WR-CALNAME:Hidden\r\n"));
  write("8-notes.txt", calendar("X-WR-CALNAME:Not a calendar file\r\n"));
  std::filesystem::create_directories(root_.file(std::string(EKEventStore::kCalendarsDirectory) + "/9-dir.ics/x"));
  write("UPPER.ICS", calendar("X-WR-CALNAME:Upper\r\n"));
  const auto& calendars = EKEventStore().calendars();
  ASSERT_EQ(calendars.size(), 2u);
  EXPECT_EQ(calendars[0]->title(), "Good");
  EXPECT_EQ(calendars[1]->title(), "Upper");
}

}  // namespace
