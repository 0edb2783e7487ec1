// Editable list controllers (Preferences/PSEditableListController.h).
#include "Preferences/PSEditableListController.h"

#include "platform/core/ObjC.h"

namespace {
const platform::ClassRegistrar<PSEditableListController> registrar("PSEditableListController", "PSListController");
}  // namespace

bool PSEditableListController::performDeletionActionForSpecifier(PSSpecifier* specifier) {
  long index = indexOfSpecifier(specifier);
  if (index < 0) return false;
  removeSpecifierAtIndex(index, true);
  return true;
}
