# Finds the GNU Objective-C runtime and GNUstep Base (Foundation on Linux).
#
# The runtime's headers (objc/runtime.h) ship inside gcc's own include
# directory, which no compiler but gcc searches; gcc is asked where that is,
# so clang builds find them too.
#
# Defines the imported targets ObjC::Runtime (headers and libobjc) and
# GNUstep::Base.
find_program(OBJC_RUNTIME_GCC NAMES gcc gcc-12)
if(OBJC_RUNTIME_GCC)
  execute_process(COMMAND ${OBJC_RUNTIME_GCC} -print-file-name=include
                  OUTPUT_VARIABLE _objc_gcc_include OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
find_path(OBJC_RUNTIME_INCLUDE_DIR objc/runtime.h HINTS ${_objc_gcc_include})
find_library(OBJC_RUNTIME_LIBRARY NAMES objc libobjc.so.4)
find_library(GNUSTEP_BASE_LIBRARY NAMES gnustep-base)

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(ObjCRuntime
  REQUIRED_VARS OBJC_RUNTIME_INCLUDE_DIR OBJC_RUNTIME_LIBRARY GNUSTEP_BASE_LIBRARY)

if(ObjCRuntime_FOUND AND NOT TARGET ObjC::Runtime)
  add_library(ObjC::Runtime UNKNOWN IMPORTED)
  set_target_properties(ObjC::Runtime PROPERTIES
    IMPORTED_LOCATION ${OBJC_RUNTIME_LIBRARY}
    INTERFACE_SYSTEM_INCLUDE_DIRECTORIES ${OBJC_RUNTIME_INCLUDE_DIR}
    INTERFACE_INCLUDE_DIRECTORIES ${OBJC_RUNTIME_INCLUDE_DIR})
  add_library(GNUstep::Base UNKNOWN IMPORTED)
  set_target_properties(GNUstep::Base PROPERTIES IMPORTED_LOCATION ${GNUSTEP_BASE_LIBRARY})
endif()
