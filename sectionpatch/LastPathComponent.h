// The last path component of a path in its UTF-8 form, by the split that the
// patch matches on: paths split at "/", a leading "/" is a component of its
// own, empty components from repeated separators are dropped, and a trailing
// "/" becomes a last component "/" of its own.
#pragma once

#include <optional>
#include <string_view>

namespace sectionpatch {

// The last component, a view into path; nothing when the path has no
// components (the empty path).
std::optional<std::string_view> lastPathComponent(std::string_view path);

}  // namespace sectionpatch
