#include "Modes.h"

#include <iostream>

#include "PlistDescription.h"
#include "ToolIO.h"
#include "platform/plist/PropertyList.h"

namespace plutil_tool {
namespace {

std::string shown(const std::string& path) { return plist_tools::visibleText(path); }

// Converts one file; what went wrong, or nothing.
std::string convertOne(const std::string& file, const std::string& format, const std::string& target) {
  std::string why;
  auto value = plist_tools::readPropertyListInput(file, why);
  if (!value) return why;
  auto bytes = format == "xml1" ? platform::serializeXML(*value) : platform::serializeBinary(*value);
  if (!bytes) return "holds what the XML encoding cannot carry exactly (control characters, fractions of seconds)";
  if (!plist_tools::writeOutput(target, *bytes)) return "cannot write " + shown(target);
  return "";
}

}  // namespace

int lint(const std::vector<std::string>& files) {
  int status = 0;
  for (const std::string& file : files) {
    std::string why;
    if (plist_tools::readPropertyListInput(file, why)) {
      std::cout << shown(file) << ": OK\n";
    } else {
      std::cout << shown(file) << ": " << why << '\n';
      status = 1;
    }
  }
  return status;
}

int print(const std::string& file) {
  std::string why;
  auto value = plist_tools::readPropertyListInput(file, why);
  if (!value) {
    std::cerr << shown(file) << ": " << why << '\n';
    return 1;
  }
  std::cout << plist_tools::readableDescription(*value) << '\n';
  return 0;
}

int convert(const std::vector<std::string>& files, const std::string& format, const std::string& output) {
  int status = 0;
  for (const std::string& file : files) {
    std::string why = convertOne(file, format, output.empty() ? file : output);
    if (!why.empty()) {
      std::cerr << shown(file) << ": " << why << '\n';
      status = 1;
    }
  }
  return status;
}

}  // namespace plutil_tool
