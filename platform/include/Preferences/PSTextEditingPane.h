// PSTextEditingPane: the edit pane class named by text rows. Editing happens
// inline in the row's text field; the class exists so rows can name it.
#pragma once

#include "platform/core/Value.h"

class PSTextEditingPane : public platform::Object {};
