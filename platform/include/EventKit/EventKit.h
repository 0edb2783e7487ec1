// The event calendars of the device.
#pragma once

#include "EventKit/EKCalendar.h"
#include "EventKit/EKEvent.h"
#include "EventKit/EKEventStore.h"
