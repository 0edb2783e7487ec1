// The bulletin-board host's section record classes. They are registered with
// the Objective-C runtime when this library is loaded, so they exist before
// anything is injected into the process:
//
//   BBSectionInfoBase : NSObject        keeps a section's widget plug-in bundle
//                                       path (pathToWeeAppPluginBundle and
//                                       setPathToWeeAppPluginBundle:, a copy of
//                                       the string, not atomic)
//   BBSectionInfo : BBSectionInfoBase   the records the host owns
//   BBSectionInfoSibling : BBSectionInfoBase   another kind of record
//
// Which shape the classes take is chosen by the process's command-line
// options, read once at load (glibc hands the arguments to initialisers):
//
//   --inherit           BBSectionInfo only inherits the two methods
//                       (otherwise it has implementations of its own)
//   --no-section-class  BBSectionInfo is not registered at all
//   --getter-only       the classes answer pathToWeeAppPluginBundle only
//   --setter-only       the classes answer setPathToWeeAppPluginBundle: only
#pragma once

#include <objc/runtime.h>

#include <string_view>

namespace bulletinboard {

inline constexpr const char* kSectionClass = "BBSectionInfo";
inline constexpr const char* kBaseClass = "BBSectionInfoBase";
inline constexpr const char* kSiblingClass = "BBSectionInfoSibling";

struct ClassShape {
  bool sectionClass = true;  // BBSectionInfo exists
  bool ownMethods = true;    // BBSectionInfo implements the methods itself
  bool getter = true;        // pathToWeeAppPluginBundle is answered
  bool setter = true;        // setPathToWeeAppPluginBundle: is answered
};

// The shape the classes were registered with.
const ClassShape& registeredShape();

// What a record holds, read from its storage without sending a message: the
// path string, or nil.
id heldPath(id record);

// Puts a copy of path (or nil) into a record's storage without sending the
// setter, as the host does when it restores its sections.
void storePath(id record, id path);

}  // namespace bulletinboard
