#include "WebFolder.h"

#include <utility>

#include "platform/os/Environment.h"
#include "platform/os/FileSystem.h"

namespace settings_host {
namespace {

const char* contentTypeOf(std::string_view name) {
  static const std::pair<std::string_view, const char*> kTypes[] = {
      {".html", "text/html; charset=utf-8"},
      {".js", "text/javascript; charset=utf-8"},
      {".css", "text/css; charset=utf-8"},
      {".svg", "image/svg+xml"},
      {".png", "image/png"},
      {".ico", "image/x-icon"},
  };
  for (const auto& [suffix, type] : kTypes)
    if (name.size() > suffix.size() && name.substr(name.size() - suffix.size()) == suffix) return type;
  return nullptr;
}

}  // namespace

WebFolder WebFolder::load(const std::string& directory) {
  WebFolder folder;
  for (const std::string& name : platform::listDirectory(directory)) {
    const char* type = contentTypeOf(name);
    if (!type || name.front() == '.') continue;
    auto bytes = platform::readFileNoFollow(directory + "/" + name, 4u << 20);
    if (!bytes) continue;
    folder.files_.emplace(name, WebFile{type, std::string(bytes->begin(), bytes->end())});
  }
  return folder;
}

const WebFile* WebFolder::find(std::string_view path) const {
  if (path == "/") path = "/index.html";
  if (path.size() < 2 || path.front() != '/') return nullptr;
  auto found = files_.find(path.substr(1));
  return found == files_.end() ? nullptr : &found->second;
}

std::string installedWebFolder() { return platform::executableDirectory() + "/../share/settings-host/web"; }

}  // namespace settings_host
