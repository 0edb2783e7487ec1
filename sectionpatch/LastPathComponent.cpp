#include "LastPathComponent.h"

namespace sectionpatch {

std::optional<std::string_view> lastPathComponent(std::string_view path) {
  if (path.empty()) return std::nullopt;
  // A trailing separator, after at least one component, is the last
  // component "/"; so is a path made only of separators (the root).
  if (path.back() == '/') return path.substr(path.size() - 1);
  std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace sectionpatch
