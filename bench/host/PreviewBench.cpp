// The preview of one month with 10,000 custom holidays in the widget data
// file and a calendar of 5,000 events: as the host runs `preview --json`
// after a change (calendar parsed and kept) and right after the calendar
// file changed (parsed again). Reading the widget data file alone is the
// baseline.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "SettingsHost.h"
#include "TempRoot.h"
#include "WidgetData.h"
#include "platform/plist/PropertyList.h"

namespace {

constexpr const char* kBundle = "Library/PreferenceBundles/VelloriaSettings.bundle";

class PreviewImage {
 public:
  PreviewImage() {
    std::filesystem::create_directories(root_.path() / kBundle);
    std::filesystem::copy(std::filesystem::path(VELLORIA_BINARY_DIR) / kBundle, root_.path() / kBundle,
                          std::filesystem::copy_options::recursive);
    platform::Dictionary solar, lunar;
    for (int i = 0; i < 5000; ++i) {
      char date[8];
      std::snprintf(date, sizeof date, "%02d%02d", i % 12 + 1, i / 12 % 28 + 1);
      solar.set(std::string(date) + std::to_string(i), platform::Value("S"));
      lunar.set(std::string(date) + std::to_string(i), platform::Value("L"));
    }
    for (int m = 1; m <= 12; ++m) solar.set((m < 10 ? "0" : "") + std::to_string(m) + "15", platform::Value("Mid"));
    platform::Dictionary data;
    data.set(velloria::kSolarFestivalsKey, platform::Value(std::move(solar)));
    data.set(velloria::kLunarFestivalsKey, platform::Value(std::move(lunar)));
    platform::writePropertyListFile(root_.file(velloria::kWidgetDataPath), platform::Value(std::move(data)));
    calendar_ = root_.file("/var/mobile/Library/Calendars/big.ics");
    std::ofstream ics(calendar_, std::ios::binary);
    ics << "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nX-WR-CALNAME:Big\r\nX-WR-RELCALID:big\r\n";
    for (int i = 0; i < 5000; ++i) {
      char start[32];
      std::snprintf(start, sizeof start, "2026%02d%02dT%02d0000", i % 12 + 1, i % 28 + 1, i % 24);
      ics << "BEGIN:VEVENT\r\nUID:" << i << "\r\nDTSTART:" << start << "\r\nDURATION:PT1H\r\nSUMMARY:Event " << i
          << (i % 50 == 0 ? "\r\nRRULE:FREQ=WEEKLY" : "") << "\r\nEND:VEVENT\r\n";
    }
    ics << "END:VCALENDAR\r\n";
  }
  const std::string& calendar() const { return calendar_; }

 private:
  testing_support::TempRoot root_;
  std::string calendar_;
};

void BM_ReadWidgetData(benchmark::State& state) {
  PreviewImage image;
  for (auto _ : state) benchmark::DoNotOptimize(velloria::readWidgetData());
}
BENCHMARK(BM_ReadWidgetData)->Unit(benchmark::kMillisecond);

void BM_PreviewMonth(benchmark::State& state) {
  PreviewImage image;
  std::ostringstream out;
  settings_host::SettingsHost host(out, false);
  host.execute("preview --json 2026-09");
  for (auto _ : state) {
    out.str("");
    host.execute("preview --json 2026-09");
  }
}
BENCHMARK(BM_PreviewMonth)->Unit(benchmark::kMillisecond);

void BM_PreviewMonthCalendarChanged(benchmark::State& state) {
  PreviewImage image;
  std::ostringstream out;
  settings_host::SettingsHost host(out, false);
  int touch = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::ofstream(image.calendar(), std::ios::app) << (touch++ % 2 ? "\r\n" : "");
    std::filesystem::last_write_time(image.calendar(), std::filesystem::file_time_type::clock::now());
    state.ResumeTiming();
    out.str("");
    host.execute("preview --json 2026-09");
  }
}
BENCHMARK(BM_PreviewMonthCalendarChanged)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
