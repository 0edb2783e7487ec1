// Helpers for the property-list tests: bytes in and out of files, and
// Python's plistlib as an independent reader and writer.
#pragma once

#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "platform/plist/PropertyList.h"

namespace testing_support {

inline std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void spit(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline bool havePython() { return std::system("python3 -c 'import plistlib' >/dev/null 2>&1") == 0; }

// Runs a Python snippet and returns what it printed, or nothing when it failed.
inline std::optional<std::string> python(const std::string& code) {
  std::string command = "python3 -c '" + code + "' 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return std::nullopt;
  std::string out;
  char buffer[4096];
  std::size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  if (pclose(pipe) != 0) return std::nullopt;
  return out;
}

}  // namespace testing_support

namespace platform {
// Failure messages show values as their XML.
inline void PrintTo(const Value& value, std::ostream* os) {
  auto xml = serializeXML(value);
  *os << (xml ? *xml : std::string("<a value with no XML form>"));
}
inline void PrintTo(const Dictionary& value, std::ostream* os) { PrintTo(Value(value), os); }
}  // namespace platform
