#include <cstring>

#include "BinaryPlistRead.h"
#include "XmlPlistRead.h"
#include "platform/os/FileSystem.h"
#include "platform/plist/PropertyList.h"
#include "platform/plist/TextPlist.h"

namespace platform {

std::optional<Value> parsePropertyList(std::string_view bytes, const PropertyListLimits& limits) {
  if (bytes.empty() || bytes.size() > limits.maxBytes) return std::nullopt;
  if (bytes.starts_with("bplist")) return plist::parseBinary(bytes, limits);
  // XML starts with markup, after an optional byte-order mark and blanks;
  // anything else may be the old-style text format.
  std::string_view rest = bytes;
  if (rest.starts_with("\xEF\xBB\xBF")) rest.remove_prefix(3);
  std::size_t first = rest.find_first_not_of(" \t\r\n");
  if (first != std::string_view::npos) {
    std::string_view markup = rest.substr(first);
    if (markup.starts_with("<?xml") || markup.starts_with("<!") || markup.starts_with("<plist")) {
      return plist::parseXML(markup, limits);
    }
  }
  return parseTextPropertyList(bytes, limits);
}

std::optional<Value> readPropertyListFile(const std::string& path, const PropertyListLimits& limits) {
  auto bytes = readFile(path, limits.maxBytes);
  if (!bytes) return std::nullopt;
  return parsePropertyList(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), limits);
}

std::optional<Dictionary> readDictionaryFile(const std::string& path) {
  auto value = readPropertyListFile(path);
  if (!value || !value->isDictionary()) return std::nullopt;
  return std::move(*value->dictionary());
}

}  // namespace platform
