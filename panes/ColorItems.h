// The colour items list: the "items" array of the settings bundle's
// "ColorSettings" plist, one entry per colour setting of the widget, each
// with its preference "key" and its "default" value. The main pane's reset
// and the custom colours editor's deletion both read it here.
#pragma once

#include "Preferences/PSListController.h"
#include "platform/core/Value.h"

namespace velloria {

// The items of the bundle of the pane's class; empty when the resource, its
// dictionary or the array is missing.
platform::Array colorItems(const PSListController& pane);

}  // namespace velloria
