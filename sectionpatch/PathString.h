// Matching a string object against the widget bundle's directory name.
#pragma once

#include <objc/runtime.h>

namespace sectionpatch {

// True when the last path components of path and of constant, in their UTF-8
// forms, are equal byte for byte (the same characters, case-sensitive). A nil
// path, one with no components, or one whose last component has no UTF-8 form
// (a lone surrogate) matches nothing.
// constant is a constant string object (NSConstantString) of ASCII text: its
// UTF8String is its own storage, so nothing is allocated or autoreleased.
bool sameLastPathComponent(id path, id constant);

}  // namespace sectionpatch
