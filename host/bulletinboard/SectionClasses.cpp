#include "SectionClasses.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "objcxx/Messaging.h"

namespace bulletinboard {
namespace {

constexpr const char* kStorageIvar = "_pathToWeeAppPluginBundle";
constexpr const char* kGetterTypes = "@@:";
constexpr const char* kSetterTypes = "v@:@";

ClassShape shape;
Ivar storage = nullptr;

SEL getterSelector() { return sel_registerName("pathToWeeAppPluginBundle"); }
SEL setterSelector() { return sel_registerName("setPathToWeeAppPluginBundle:"); }

// The base class's methods.
id basePath(id self, SEL) { return heldPath(self); }
void baseSetPath(id self, SEL, id path) { storePath(self, path); }

// BBSectionInfo's own methods, when it has them: the same behaviour, but
// implementations of its own, as a subclass that overrides them would have.
id sectionPath(id self, SEL) { return heldPath(self); }
void sectionSetPath(id self, SEL, id path) { storePath(self, path); }

void addMethods(Class cls, IMP getter, IMP setter) {
  if (shape.getter) class_addMethod(cls, getterSelector(), getter, kGetterTypes);
  if (shape.setter) class_addMethod(cls, setterSelector(), setter, kSetterTypes);
}

Class registerClass(Class superclass, const char* name, bool withStorage) {
  Class cls = objc_allocateClassPair(superclass, name, 0);
  if (cls == Nil) return Nil;
  if (withStorage) class_addIvar(cls, kStorageIvar, sizeof(id), __builtin_ctz(alignof(id)), "@");
  objc_registerClassPair(cls);
  return cls;
}

void fail(const char* what) {
  std::fprintf(stderr, "bulletin-board-host: cannot register %s\n", what);
  std::abort();
}

ClassShape parseShape(int argc, char** argv) {
  ClassShape parsed;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "--inherit") parsed.ownMethods = false;
    if (arg == "--no-section-class") parsed.sectionClass = false;
    if (arg == "--getter-only") parsed.setter = false;
    if (arg == "--setter-only") parsed.getter = false;
  }
  return parsed;
}

// Runs as the library is loaded, before the process's own code and before
// anything the tweak loader injects.
__attribute__((constructor)) void registerSectionClasses(int argc, char** argv, char**) {
  shape = parseShape(argc, argv);
  Class object = objc_getClass("NSObject");
  if (object == Nil) fail("section classes: no NSObject");
  Class base = registerClass(object, kBaseClass, true);
  if (base == Nil) fail(kBaseClass);
  storage = class_getInstanceVariable(base, kStorageIvar);
  addMethods(base, objcxx::functionCast<IMP>(basePath), objcxx::functionCast<IMP>(baseSetPath));
  if (registerClass(base, kSiblingClass, false) == Nil) fail(kSiblingClass);
  if (!shape.sectionClass) return;
  Class section = registerClass(base, kSectionClass, false);
  if (section == Nil) fail(kSectionClass);
  if (shape.ownMethods) addMethods(section, objcxx::functionCast<IMP>(sectionPath), objcxx::functionCast<IMP>(sectionSetPath));
}

}  // namespace

const ClassShape& registeredShape() { return shape; }

id heldPath(id record) { return object_getIvar(record, storage); }

void storePath(id record, id path) {
  id copied = objcxx::send<id>(path, sel_registerName("copy"));
  id old = object_getIvar(record, storage);
  object_setIvar(record, storage, copied);
  objcxx::send<void>(old, sel_registerName("release"));
}

}  // namespace bulletinboard
