// Matching a string object against the widget bundle's directory name.
#pragma once

#include <objc/runtime.h>

#include <string_view>

namespace sectionpatch {

// True when the last path components of path and of constant (the UTF-8
// text of a constant string object), in their UTF-8 forms, are equal byte for
// byte (the same characters, case-sensitive). A nil path, one with no
// components, or one whose last component has no UTF-8 form (a lone
// surrogate) matches nothing. Nothing is allocated or autoreleased for
// short paths.
bool sameLastPathComponent(id path, std::string_view constant);

}  // namespace sectionpatch
