#include <cstring>

#include "BinaryPlistRead.h"
#include "XmlPlistRead.h"
#include "platform/os/FileSystem.h"
#include "platform/plist/PropertyList.h"
#include "platform/plist/TextPlist.h"

namespace platform {

namespace {

enum class Encoding { Binary, XML, Text };

// The encoding told by the first bytes, and where its parser starts.
Encoding encodingOf(std::string_view bytes, std::string_view& body) {
  body = bytes;
  if (bytes.starts_with("bplist")) return Encoding::Binary;
  // XML starts with markup, after an optional byte-order mark and blanks;
  // anything else may be the old-style text format.
  std::string_view rest = bytes;
  if (rest.starts_with("\xEF\xBB\xBF")) rest.remove_prefix(3);
  std::size_t first = rest.find_first_not_of(" \t\r\n");
  if (first != std::string_view::npos) {
    std::string_view markup = rest.substr(first);
    if (markup.starts_with("<?xml") || markup.starts_with("<!") || markup.starts_with("<plist")) {
      body = markup;
      return Encoding::XML;
    }
  }
  return Encoding::Text;
}

std::optional<Value> parseAs(Encoding encoding, std::string_view body, const PropertyListLimits& limits) {
  switch (encoding) {
    case Encoding::Binary: return plist::parseBinary(body, limits);
    case Encoding::XML: return plist::parseXML(body, limits);
    case Encoding::Text: break;
  }
  return parseTextPropertyList(body, limits);
}

std::string_view asText(const std::vector<std::uint8_t>& bytes) {
  return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

}  // namespace

std::optional<Value> parsePropertyList(std::string_view bytes, const PropertyListLimits& limits) {
  if (bytes.empty() || bytes.size() > limits.maxBytes) return std::nullopt;
  std::string_view body;
  Encoding encoding = encodingOf(bytes, body);
  return parseAs(encoding, body, limits);
}

std::optional<Value> parsePropertyList(std::string_view bytes, std::string& whyNot,
                                       const PropertyListLimits& limits) {
  if (bytes.empty()) {
    whyNot = "empty";
    return std::nullopt;
  }
  if (bytes.size() > limits.maxBytes) {
    whyNot = describeReadError(ReadError::TooLarge, limits.maxBytes);
    return std::nullopt;
  }
  std::string_view body;
  Encoding encoding = encodingOf(bytes, body);
  auto value = parseAs(encoding, body, limits);
  if (!value) {
    whyNot = encoding == Encoding::Binary ? "malformed binary property list"
             : encoding == Encoding::XML  ? "malformed XML property list"
                                          : "not a property list";
  }
  return value;
}

std::optional<Value> readPropertyListFile(const std::string& path, const PropertyListLimits& limits) {
  auto bytes = readFile(path, limits.maxBytes);
  if (!bytes) return std::nullopt;
  return parsePropertyList(asText(*bytes), limits);
}

std::optional<Value> readPropertyListFile(const std::string& path, std::string& whyNot,
                                          const PropertyListLimits& limits) {
  ReadError error{};
  auto bytes = readFile(path, limits.maxBytes, &error);
  if (!bytes) {
    whyNot = describeReadError(error, limits.maxBytes);
    return std::nullopt;
  }
  return parsePropertyList(asText(*bytes), whyNot, limits);
}

std::optional<Dictionary> readDictionaryFile(const std::string& path) {
  auto value = readPropertyListFile(path);
  if (!value || !value->isDictionary()) return std::nullopt;
  return std::move(*value->dictionary());
}

}  // namespace platform
