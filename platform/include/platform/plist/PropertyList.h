// Reading and writing property-list files.
//
// Reading takes XML, binary and old-style text lists, each with a
// bounds-checked reader of the platform's own: libplist 2.2 (Debian 12) reads
// <integer> as a C literal, recurses without limit and reads out of range on
// hostile binary offsets, so it only serves as the yardstick the readers are
// measured against. Scalars read as Core Foundation reads them ("010" is 10).
// Anything that is not a well-formed list within the limits reads as nothing
// — never a crash, a hang or unbounded memory. Every value a reader gives
// can be written back and reads back equal: files are written in the XML
// encoding whenever it carries the value exactly, in the binary one
// otherwise.
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

// Whether a property list can hold the value: dictionaries, arrays, strings
// (keys included) of well-formed UTF-8 with any characters, integers (signed
// 64-bit and unsigned up to UINT64_MAX), reals, booleans, data and dates, at
// any depth. Not nil, and no live objects. Every value the readers give is
// one; every such value can be written by writePropertyListFile.
bool isPropertyListValue(const Value& value);

// The XML encoding of a value, as Foundation writes it. Nothing when the
// value is no property-list value, or holds what XML cannot carry exactly:
// characters XML 1.0 cannot carry (C0 controls other than tab, line feed and
// carriage return; U+FFFE, U+FFFF), dates that are not whole seconds of the
// years 0000 to 9999.
std::optional<std::string> serializeXML(const Value& value);

// The binary encoding ("bplist00"): objects, offset table and trailer as
// Core Foundation lays them out. Integers take the smallest of 1, 2, 4 and 8
// bytes (negative ones 8), unsigned values above INT64_MAX the 16-byte form;
// reals and dates are 8-byte doubles (dates in seconds since 2001, fractions
// kept); strings are ASCII when they are, UTF-16BE otherwise; equal scalars
// are written once. Nothing when the value is no property-list value.
std::optional<std::string> serializeBinary(const Value& value);

// writeToFile:atomically: with atomic true. The XML encoding whenever it
// carries the value exactly (byte for byte what serializeXML gives), the
// binary encoding otherwise. False when the value is no property-list value
// or the file cannot be written; the old file is then intact.
bool writePropertyListFile(const std::string& path, const Value& value);

}  // namespace platform
