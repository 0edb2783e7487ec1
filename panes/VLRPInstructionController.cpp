#include "VLRPInstructionController.h"

#include "platform/core/ObjC.h"

namespace {

platform::ClassRegistrar<VLRPInstructionController> registrar("VLRPInstructionController", "VLRSettingsController");

}  // namespace

std::shared_ptr<PSListController::SpecifierArray> VLRPInstructionController::specifiers() {
  if (!_specifiers) _specifiers = loadSpecifiersFromPlistName("Instructions", this);
  return _specifiers;
}
