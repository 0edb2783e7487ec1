// hextoint against a plain restatement of its contract: the status, and the
// value of the trailing hex digits, with out untouched for empty and
// overlong strings.
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Velloria/QHPreferences.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string s(reinterpret_cast<const char*>(data), size);
  s = s.c_str();  // up to the first NUL, as a C caller would pass it
  std::uint32_t out = 0xA5A5A5A5;
  int status = hextoint(s.c_str(), &out);
  if (s.empty() || s.size() > 8) {
    if (status != (s.empty() ? 1 : 2) || out != 0xA5A5A5A5) std::abort();
    return 0;
  }
  std::size_t tail = s.size();
  while (tail > 0 && std::isxdigit(static_cast<unsigned char>(s[tail - 1])) &&
         static_cast<unsigned char>(s[tail - 1]) < 0x80) {
    --tail;
  }
  std::uint32_t expected = tail == s.size() ? 0 : static_cast<std::uint32_t>(std::stoull(s.substr(tail), nullptr, 16));
  if (status != (tail == 0 ? 1 : 4) || out != expected) std::abort();
  return 0;
}
