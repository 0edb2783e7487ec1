#include "EventKit/EventKit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "EventKit/EventKit.h"
#include "TempRoot.h"
#include "platform/os/Clock.h"

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

// Occurrences in a local zone of UTC+8: timed, floating, all-day and
// recurring events (rule, excluded date, replaced instance, extra date),
// the span asked for, the calendar filter, and a runaway rule kept bounded.
TEST_F(EventStoreTest, EventsInASpanWithRecurrencesExpanded) {
  setenv("TZ", "Asia/Shanghai", 1);
  tzset();
  auto event = [](const std::string& lines) { return "BEGIN:VEVENT\r\n" + lines + "END:VEVENT\r\n"; };
  write("a-work.ics",
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nX-WR-CALNAME:Work\r\nX-WR-RELCALID:work\r\n" +
            event("UID:u1\r\nDTSTART:20260301T200000Z\r\nDTEND:20260301T210000Z\r\nSUMMARY:Late call\r\n") +
            event("UID:u2\r\nDTSTART;VALUE=DATE:20260305\r\nDTEND;VALUE=DATE:20260307\r\nSUMMARY:Trip\r\n") +
            event("UID:u3\r\nDTSTART:20260310T090000\r\nSUMMARY:Floating\r\n") +
            event("UID:w\r\nDTSTART:20260202T010000Z\r\nDURATION:PT1H\r\nRRULE:FREQ=WEEKLY\r\n"
                  "EXDATE:20260309T010000Z\r\nRDATE:20260311T010000Z\r\nSUMMARY:Weekly\r\n") +
            event("UID:w\r\nRECURRENCE-ID:20260316T010000Z\r\nDTSTART:20260317T010000Z\r\n"
                  "DURATION:PT1H\r\nSUMMARY:Moved\r\n") +
            "END:VCALENDAR\r\n");
  write("b-noise.ics", "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nX-WR-CALNAME:Noise\r\n" +
                           event("UID:n\r\nDTSTART:20260101T000000Z\r\nRRULE:FREQ=SECONDLY\r\nSUMMARY:Tick\r\n") +
                           "END:VCALENDAR\r\n");
  EKEventStore store;
  ASSERT_EQ(store.calendars().size(), 2u);
  auto local = [](int y, int m, int d, int h = 0) { return platform::dateFromLocalTime({y, m, d, h, 0, 0}); };
  auto describe = [](const std::vector<std::shared_ptr<EKEvent>>& events) {
    std::vector<std::string> out;
    for (const auto& e : events) {
      platform::CivilTime t = platform::localTimeOf(e->startDate());
      out.push_back(e->title() + "@" + std::to_string(t.month) + "-" + std::to_string(t.day) + "T" +
                    std::to_string(t.hour) + (e->isAllDay() ? "*" : ""));
    }
    return out;
  };
  auto work = store.eventsMatchingPredicate(
      store.predicateForEventsWithStartDate(local(2026, 3, 2), local(2026, 3, 18), std::vector{store.calendars()[0]}));
  EXPECT_EQ(describe(work), (std::vector<std::string>{"Late call@3-2T4", "Weekly@3-2T9", "Trip@3-5T0*",
                                                      "Floating@3-10T9", "Weekly@3-11T9", "Moved@3-17T9"}));
  platform::CivilTime tripEnd = platform::localTimeOf(work[2]->endDate());
  EXPECT_EQ(tripEnd.day, 7) << "an all-day event ends at midnight after its last day";
  EXPECT_EQ(work[0]->calendar(), store.calendars()[0]);

  auto all = store.eventsMatchingPredicate(store.predicateForEventsWithStartDate(local(2026, 3, 2), local(2026, 3, 3), std::nullopt));
  std::size_t ticks = 0;
  for (const auto& e : all) ticks += e->title() == "Tick";
  EXPECT_GT(ticks, 0u);
  EXPECT_LE(ticks, 5000u) << "a rule repeating every second is expanded only so far";
  unsetenv("TZ");
  tzset();
}

}  // namespace
