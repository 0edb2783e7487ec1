// Marks the functions and data the settings bundle exports; everything else
// in the library stays hidden.
#pragma once

#define VELLORIA_EXPORT __attribute__((visibility("default")))
