// The page's files, read once when serving starts. Only regular files
// directly in the folder, of the kinds the page uses, are ever served: no
// subfolders, no symbolic links, no listing, so no request path can reach
// anything outside the folder.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace settings_host {

struct WebFile {
  std::string contentType;
  std::string body;
};

class WebFolder {
 public:
  // Reads the folder's .html, .js, .css, .svg, .png and .ico files (each up
  // to 4 MiB). A missing folder gives an empty one.
  static WebFolder load(const std::string& directory);

  // The file a request path (already URL-decoded) names: "/" is index.html,
  // "/NAME" the file NAME; anything else is nothing.
  const WebFile* find(std::string_view path) const;

  bool empty() const { return files_.empty(); }

 private:
  std::map<std::string, WebFile, std::less<>> files_;
};

// Where an installed settings host finds its page: share/settings-host/web
// beside the image's bin folder.
std::string installedWebFolder();

}  // namespace settings_host
