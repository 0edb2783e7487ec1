// Reading and writing property-list files.
//
// Reading takes XML, binary and old-style text lists, each with a
// bounds-checked reader of the platform's own: libplist 2.2 (Debian 12) reads
// <integer> as a C literal, recurses without limit and reads out of range on
// hostile binary offsets, so it only serves as the yardstick the readers are
// measured against. Scalars read as Core Foundation reads them ("010" is 10).
// Anything that is not a well-formed list within the limits reads as nothing
// — never a crash, a hang or unbounded memory. Writing produces the XML
// encoding atomically.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/Value.h"

namespace platform {

struct PropertyListLimits {
  std::uint64_t maxBytes = 64ull << 20;  // larger files are refused unread
  unsigned maxDepth = 512;               // deeper nesting is refused
};

// Parses a property list held in memory (XML, binary or text, told by its
// first bytes). Empty input is no list.
std::optional<Value> parsePropertyList(std::string_view bytes, const PropertyListLimits& limits = {});

// Reads a property-list file at a host path.
std::optional<Value> readPropertyListFile(const std::string& path, const PropertyListLimits& limits = {});

// The same two reads, saying in a few words why nothing was read: "no such
// file", "not a regular file", "unreadable", "larger than N bytes", "empty",
// "malformed XML property list", "malformed binary property list" (nesting
// over the limit counts as malformed), or "not a property list" (text in no
// property-list syntax).
std::optional<Value> parsePropertyList(std::string_view bytes, std::string& whyNot,
                                       const PropertyListLimits& limits = {});
std::optional<Value> readPropertyListFile(const std::string& path, std::string& whyNot,
                                          const PropertyListLimits& limits = {});

// dictionaryWithContentsOfFile: the file's root dictionary, or nothing when
// the file is missing, unreadable, malformed, or its root is not a dictionary.
std::optional<Dictionary> readDictionaryFile(const std::string& path);

// The XML encoding of a value, as Foundation writes it. Nothing when the
// value holds what a property list cannot (nil, live objects, text that is
// not valid UTF-8 or holds characters XML 1.0 cannot carry).
std::optional<std::string> serializeXML(const Value& value);

// writeToFile:atomically: with atomic true. False when the value cannot be
// encoded or the file cannot be written; the old file is then intact.
bool writePropertyListFile(const std::string& path, const Value& value);

}  // namespace platform
