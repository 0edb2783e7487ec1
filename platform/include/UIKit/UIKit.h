// The platform's UIKit subset. C code sees the colour functions only.
#pragma once

#include "UIKit/UIColor.h"

#ifdef __cplusplus
#include "UIKit/UIAlertView.h"
#include "UIKit/UIApplication.h"
#include "UIKit/UIBarButtonItem.h"
#include "UIKit/UINavigationItem.h"
#include "UIKit/UIResponder.h"
#include "UIKit/UISwitch.h"
#include "UIKit/UITextField.h"
#endif
