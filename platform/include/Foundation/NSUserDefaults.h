// The user-defaults persistent domains, over the preference store (one store
// per domain, shared with the preferences service).
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>

#include "platform/core/Value.h"

class NSUserDefaults : public platform::Object {
 public:
  // The shared object of the process.
  static std::shared_ptr<NSUserDefaults> standardUserDefaults();

  // The domain's keys, nothing when the domain does not exist.
  std::optional<platform::Dictionary> persistentDomainForName(const std::string& domainName);
  // Replaces the domain's content (written at the next synchronize).
  void setPersistentDomain(const platform::Dictionary& domain, const std::string& domainName);
  // Writes every domain this object changed and takes in other processes'
  // changes; false when some change could not be written.
  bool synchronize();

 private:
  std::mutex mutex_;
  std::set<std::string> touched_;
};
