// A hook library's filter: the plist beside it that names the processes it is
// to be loaded into.
//
//   { Filter = { Bundles = ( ... ); Executables = ( ... ); Classes = ( ... );
//                CoreFoundationVersion = ( min ) or ( min, max ); }; }
//
// The plist may be XML, binary or old-style text. A process matches when its
// Core Foundation version lies in the CoreFoundationVersion range, if the
// filter has one (min included, max excluded; numbers, or in the text format,
// which has none, strings that hold one), and any one entry of any list
// matches it: an executable of that name, a bundle identifier the process
// declares, or an Objective-C class the process has. A filter whose lists
// are all empty or absent matches nothing.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CoreFoundation/CFBase.h"

namespace tweakloader {

struct Filter {
  std::vector<std::string> bundles;
  std::vector<std::string> executables;
  std::vector<std::string> classes;
  std::optional<double> minVersion = std::nullopt, maxVersion = std::nullopt;  // CoreFoundationVersion
};

// Parses a filter plist's bytes. A plist that cannot be read, whose root is
// not a dictionary, that has no "Filter" dictionary, whose lists are not
// arrays of strings, or whose CoreFoundationVersion is not an array of one
// or two numbers is malformed: nothing is returned and error says why.
std::optional<Filter> parseFilter(std::string_view bytes, std::string& error);

// What a filter is matched against.
struct ProcessIdentity {
  std::string executable;                           // the executable's file name
  std::vector<std::string> bundles;                 // bundle identifiers it declares
  std::function<bool(const std::string&)> hasClass;  // null when no object runtime
  double coreFoundationVersion = kCFCoreFoundationVersionNumber;
};

bool matches(const Filter& filter, const ProcessIdentity& process);

}  // namespace tweakloader
