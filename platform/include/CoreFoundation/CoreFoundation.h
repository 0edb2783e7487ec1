/* The platform's Core Foundation subset. */
#ifndef CORE_FOUNDATION_H
#define CORE_FOUNDATION_H

#include "CoreFoundation/CFBase.h"
#include "CoreFoundation/CFString.h"
#include "CoreFoundation/CFNumber.h"
#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFPreferences.h"

#endif
