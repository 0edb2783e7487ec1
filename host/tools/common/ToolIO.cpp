#include "ToolIO.h"

#include <iostream>

#include "PlistDescription.h"
#include "platform/os/FileSystem.h"
#include "platform/os/Terminal.h"
#include "platform/plist/PropertyList.h"

namespace plist_tools {

std::optional<platform::Value> readPropertyListInput(const std::string& path, std::string& whyNot) {
  platform::PropertyListLimits limits;
  if (path != "-") return platform::readPropertyListFile(path, whyNot, limits);
  platform::ReadError error{};
  auto bytes = platform::readStandardInput(limits.maxBytes, &error);
  if (!bytes) {
    whyNot = platform::describeReadError(error, limits.maxBytes);
    return std::nullopt;
  }
  return platform::parsePropertyList(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()),
                                     whyNot, limits);
}

bool writeOutput(const std::string& path, std::string_view bytes) {
  if (path != "-") return platform::writeFileAtomically(path, bytes);
  std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  std::cout.flush();
  return static_cast<bool>(std::cout);
}

std::string forStandardOutput(std::string_view text) {
  return platform::isTerminal(platform::StandardStream::Output) ? visibleText(text) : std::string(text);
}

}  // namespace plist_tools
