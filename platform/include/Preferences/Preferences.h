// The platform's Preferences framework subset.
#pragma once

#include "Preferences/PSEditableListController.h"
#include "Preferences/PSListController.h"
#include "Preferences/PSListItemsController.h"
#include "Preferences/PSSpecifier.h"
#include "Preferences/PSTableCell.h"
#include "Preferences/PSTextEditingPane.h"
