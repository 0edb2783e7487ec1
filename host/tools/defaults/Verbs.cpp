#include "Verbs.h"

#include <iostream>

#include "PlistDescription.h"
#include "ToolIO.h"
#include "platform/core/Strings.h"
#include "platform/os/FileSystem.h"
#include "platform/plist/PropertyList.h"
#include "platform/prefs/PreferenceStore.h"

namespace defaults_tool {
namespace {

using platform::Dictionary;
using platform::PreferenceDomain;
using platform::Value;

std::string shown(const std::string& text) { return plist_tools::visibleText(text); }

// The store of a domain named on the command line; a path or an empty name
// is refused, since the store only knows domains by name.
PreferenceDomain& store(const std::string& domain) {
  if (domain.empty() || domain == "." || domain == ".." || domain.find('/') != std::string::npos) {
    throw Failure("Not a domain name: '" + shown(domain) + "' (domains are named like com.quietharbor.velloria)");
  }
  return PreferenceDomain::named(domain);
}

// The keys of a domain that holds some. A domain whose file does not read as
// a dictionary is reported as such rather than as missing.
Dictionary existingDomain(PreferenceDomain& domainStore, const std::string& domain) {
  auto keys = domainStore.persistentDomain();
  if (keys && !keys->empty()) return std::move(*keys);
  if (platform::statFile(domainStore.path())) {
    std::string why;
    auto file = platform::readPropertyListFile(domainStore.path(), why);
    if (!file) throw Failure("Domain " + shown(domain) + " cannot be read: " + why);
    if (!file->isDictionary()) {
      throw Failure("Domain " + shown(domain) + " cannot be read: its root is not a dictionary");
    }
  }
  throw Failure("Domain " + shown(domain) + " does not exist");
}

Failure missingPair(const std::string& domain, const std::string& key) {
  return Failure("The domain/default pair of (" + shown(domain) + ", " + shown(key) + ") does not exist");
}

void save(PreferenceDomain& domainStore, const std::string& domain) {
  if (!domainStore.synchronize()) {
    throw Failure("Could not write domain " + shown(domain) + " to " + shown(domainStore.path()));
  }
}

}  // namespace

void listDomains() {
  std::string line;
  for (const std::string& name : PreferenceDomain::namesWithFiles()) {
    auto keys = PreferenceDomain::named(name).persistentDomain();
    if (!keys || keys->empty()) continue;
    if (!line.empty()) line += ", ";
    line += name;
  }
  if (!line.empty()) std::cout << plist_tools::forStandardOutput(line) << '\n';
}

void readDomain(const std::string& domain, const std::optional<std::string>& key) {
  Dictionary keys = existingDomain(store(domain), domain);
  if (!key) {
    std::cout << plist_tools::oldStyleDescription(keys) << '\n';
    return;
  }
  const Value* value = keys.find(*key);
  if (!value) throw missingPair(domain, *key);
  std::cout << plist_tools::forStandardOutput(plist_tools::oldStyleTopLevel(*value)) << '\n';
}

void writeKey(const std::string& domain, const std::string& key, const WriteValue& request) {
  PreferenceDomain& domainStore = store(domain);
  Value value = request.value;
  if (request.mode != WriteValue::Mode::Replace) {
    Value current = domainStore.copyValue(key);
    if (request.mode == WriteValue::Mode::AppendToArray && !current.isNil()) {
      platform::Array* items = current.array();
      if (!items) {
        throw Failure("Value for key " + shown(key) + " is not an array; cannot append. Leaving defaults unchanged.");
      }
      for (const Value& item : *request.value.array()) items->push_back(item);
      value = std::move(current);
    } else if (request.mode == WriteValue::Mode::MergeIntoDictionary && !current.isNil()) {
      Dictionary* entries = current.dictionary();
      if (!entries) {
        throw Failure("Value for key " + shown(key) + " is not a dictionary; cannot add. Leaving defaults unchanged.");
      }
      for (const auto& [k, v] : *request.value.dictionary()) entries->set(k, v);
      value = std::move(current);
    }
  }
  if (!platform::isValidUTF8(key) || !platform::isPropertyListValue(value)) {
    throw Failure("Cannot write the key " + shown(key) + ": property lists hold only UTF-8 text");
  }
  domainStore.setValue(key, std::move(value));
  save(domainStore, domain);
}

void deleteKeys(const std::string& domain, const std::optional<std::string>& key) {
  PreferenceDomain& domainStore = store(domain);
  Dictionary keys = existingDomain(domainStore, domain);
  if (key) {
    if (!keys.contains(*key)) throw missingPair(domain, *key);
    domainStore.setValue(*key, Value());
  } else {
    domainStore.setPersistentDomain(Dictionary());
  }
  save(domainStore, domain);
}

void exportDomain(const std::string& domain, const std::string& path) {
  Dictionary keys = existingDomain(store(domain), domain);
  auto bytes = path == "-" ? platform::serializeXML(keys) : platform::serializeBinary(keys);
  if (!bytes) {
    throw Failure("Domain " + shown(domain) + " holds what XML cannot carry exactly; export it to a file instead");
  }
  if (!plist_tools::writeOutput(path, *bytes)) throw Failure("Could not write " + shown(path));
}

void importDomain(const std::string& domain, const std::string& path) {
  PreferenceDomain& domainStore = store(domain);
  std::string why;
  auto value = plist_tools::readPropertyListInput(path, why);
  if (!value) throw Failure("Could not import " + shown(path) + ": " + why);
  const Dictionary* keys = value->dictionary();
  if (!keys) throw Failure("Could not import " + shown(path) + ": its root is not a dictionary");
  // Compared with the file as it is now, so that keys the import does not
  // change are left alone.
  domainStore.persistentDomain();
  domainStore.setPersistentDomain(*keys);
  save(domainStore, domain);
}

}  // namespace defaults_tool
