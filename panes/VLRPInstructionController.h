// VLRPInstructionController: the instructions pane. All of its content comes
// from the bundle plist "Instructions"; it adds nothing beyond loading it, so
// the plist's rows bind only to what the base controller provides.
#pragma once

#include <memory>

#include "VLRSettingsController.h"

class VLRPInstructionController : public VLRSettingsController {
 public:
  // The rows of "Instructions" bound to this pane, loaded on the first call
  // and returned as they stand afterwards.
  std::shared_ptr<SpecifierArray> specifiers() override;
};
