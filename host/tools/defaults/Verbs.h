// The verbs of `defaults`, over the preference store of the device root
// (DEVICE_ROOT, else /). Every change goes through the store: its lock, its
// per-key merge and its atomic write, so a write never loses keys that
// another process wrote meanwhile. Results go to standard output; a verb
// that cannot do its work throws Failure with the message for the person.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>

#include "WriteValue.h"

namespace defaults_tool {

struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The domains that hold keys, on one line separated by ", ".
void listDomains();
// The whole domain in the old-style text form, or one key's value (a string
// as it is, other values in that form).
void readDomain(const std::string& domain, const std::optional<std::string>& key);
// Sets the key; the append and merge modes add to the array or dictionary the
// key holds (a missing key is created).
void writeKey(const std::string& domain, const std::string& key, const WriteValue& value);
// Removes the key, or every key of the domain.
void deleteKeys(const std::string& domain, const std::optional<std::string>& key);
// The domain as a property list: binary into a file, XML on standard output
// for "-". The file is a host path.
void exportDomain(const std::string& domain, const std::string& path);
// Makes the domain equal to the dictionary in a property-list file (any
// encoding) or on standard input for "-".
void importDomain(const std::string& domain, const std::string& path);

}  // namespace defaults_tool
