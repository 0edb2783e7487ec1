// Local wall-clock times and absolute times, in a zone with daylight saving.
#include <gtest/gtest.h>

#include <cstdlib>
#include <array>
#include <ctime>

#include "platform/os/Clock.h"

namespace {

class NewYorkTime : public ::testing::Test {
 protected:
  NewYorkTime() {
    setenv("TZ", "America/New_York", 1);
    tzset();
  }
  ~NewYorkTime() override {
    unsetenv("TZ");
    tzset();
  }
};

double utc(int y, int mo, int d, int h, int mi) { return platform::dateFromUTC({y, mo, d, h, mi, 0}).seconds; }

TEST_F(NewYorkTime, WallClockTimesAroundTheChangesOfOffset) {
  // Standard time (UTC-5) and daylight time (UTC-4), and back again.
  EXPECT_EQ(platform::dateFromLocalTime({2026, 1, 15, 9, 0, 0}).seconds, utc(2026, 1, 15, 14, 0));
  EXPECT_EQ(platform::dateFromLocalTime({2026, 7, 15, 9, 0, 0}).seconds, utc(2026, 7, 15, 13, 0));
  EXPECT_EQ(platform::dateFromLocalTime({2026, 3, 8, 3, 0, 0}).seconds, utc(2026, 3, 8, 7, 0));
  EXPECT_EQ(platform::dateFromLocalTime({2026, 11, 1, 2, 0, 0}).seconds, utc(2026, 11, 1, 7, 0));
  // 02:30 on 8 March does not exist and 01:30 on 1 November happens twice:
  // each lands on one of the instants around it.
  double skipped = platform::dateFromLocalTime({2026, 3, 8, 2, 30, 0}).seconds;
  EXPECT_TRUE(skipped == utc(2026, 3, 8, 6, 30) || skipped == utc(2026, 3, 8, 7, 30)) << skipped;
  double repeated = platform::dateFromLocalTime({2026, 11, 1, 1, 30, 0}).seconds;
  EXPECT_TRUE(repeated == utc(2026, 11, 1, 5, 30) || repeated == utc(2026, 11, 1, 6, 30)) << repeated;

  platform::CivilTime back = platform::localTimeOf(platform::dateFromLocalTime({2026, 12, 31, 23, 59, 59}));
  EXPECT_EQ((std::array{back.year, back.month, back.day, back.hour, back.minute, back.second}),
            (std::array{2026, 12, 31, 23, 59, 59}));
}

}  // namespace
