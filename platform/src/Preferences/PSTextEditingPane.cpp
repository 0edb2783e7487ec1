// The edit pane class text rows name (Preferences/PSTextEditingPane.h).
#include "Preferences/PSTextEditingPane.h"

#include "platform/core/ObjC.h"

namespace {
const platform::ClassRegistrar<PSTextEditingPane> registrar("PSTextEditingPane", "");
}  // namespace
