// A C++ caller of the exports: stores a colour, reads it back through the
// colour object's C++ interface. Builds only as C++20 (the package must carry
// the standard), exits non-zero on the first wrong answer.
#include <Velloria/QHPreferences.h>

#include <cstdio>
#include <span>

namespace {

bool same(std::span<const double> got, std::span<const double> expected) {
  for (std::size_t i = 0; i < got.size(); ++i)
    if (got[i] != expected[i]) return false;
  return got.size() == expected.size();
}

}  // namespace

int main() {
  void* pool = objc_autoreleasePoolPush();
  bool ok = QHPreferenceSetStringForKey(CFSTR("colorTitle"), CFSTR("0000FF"));
  double rgba[4] = {};
  UIColor* color = QHPreferenceColorForKey(CFSTR("colorTitle"), 0xFF0000);
  ok = ok && color->getRed(&rgba[0], &rgba[1], &rgba[2], &rgba[3]);
  const double blue[] = {0.0, 0.0, 1.0, 1.0};
  ok = ok && same(rgba, blue) && QHPreferecneIntForKey(CFSTR("missing"), 7) == 7;
  objc_autoreleasePoolPop(pool);
  std::puts(ok ? "ok" : "failed");
  return ok ? 0 : 1;
}
