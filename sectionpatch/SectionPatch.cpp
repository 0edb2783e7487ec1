// The section bundle path patch. Loaded into the process that owns the
// bulletin-board section records (class BBSectionInfo), it replaces the getter
// and setter of a section's widget bundle path so that any path whose last
// component is the widget bundle's directory name becomes the widget bundle
// path. The library offers nothing to call: its static initialiser installs
// the replacements once, and they stay for the life of the process.

#include <atomic>

#include "objcxx/Messaging.h"
#include "PathString.h"

namespace sectionpatch {
namespace {

using Getter = id (*)(id, SEL);
using Setter = void (*)(id, SEL, id);

constexpr const char* kSectionClassName = "BBSectionInfo";
constexpr char kWidgetBundlePath[] = "/System/Library/WeeAppPlugins/Velloria.bundle";

// Process-wide slots, filled by the installer only, read by the replacements
// from any thread. Each previous-implementation slot holds something callable
// before the replacement that reads it is installed.
std::atomic<Class> savedSuperclass{Nil};
std::atomic<Getter> previousGetter{nullptr};
std::atomic<Setter> previousSetter{nullptr};

// The widget bundle path as one constant string object, laid out as the
// compiler lays out a string literal for the GNU runtime (NSConstantString:
// class, characters, length). It is never freed, and retain and release do
// nothing to it; its class is filled in before anything is installed.
struct ConstantString {
  Class isa;
  const char* characters;
  unsigned int length;
};
ConstantString widgetBundlePathObject{Nil, kWidgetBundlePath, sizeof kWidgetBundlePath - 1};
std::atomic<id> widgetBundlePath{nil};

// The path to hand on: the widget bundle path when path's last component is
// the widget bundle's directory name, else path itself.
id rewritten(id path) {
  id widget = widgetBundlePath.load(std::memory_order_acquire);
  // The constant's text is read from the object itself: it is laid out here.
  std::string_view text(widgetBundlePathObject.characters, widgetBundlePathObject.length);
  return widget != nil && sameLastPathComponent(path, text) ? widget : path;
}

// Super-callers: call the saved superclass's implementation as it is now.
id superGetter(id self, SEL sel) {
  IMP imp = class_getMethodImplementation(savedSuperclass.load(std::memory_order_acquire), sel);
  return objcxx::functionCast<Getter>(imp)(self, sel);
}

void superSetter(id self, SEL sel, id path) {
  IMP imp = class_getMethodImplementation(savedSuperclass.load(std::memory_order_acquire), sel);
  objcxx::functionCast<Setter>(imp)(self, sel, path);
}

// pathToWeeAppPluginBundle
id replacementGetter(id self, SEL sel) {
  return rewritten(previousGetter.load(std::memory_order_acquire)(self, sel));
}

// setPathToWeeAppPluginBundle:
void replacementSetter(id self, SEL sel, id path) {
  previousSetter.load(std::memory_order_acquire)(self, sel, rewritten(path));
}

// Replaces one selector's implementation on cls, keeping what it replaced in
// slot. A class that only inherits the method gets the replacement added to
// itself and calls on to its superclass; one with its own method has it
// swapped. A selector the class does not answer is left alone.
template <class Fn>
void replace(Class cls, SEL sel, Fn replacement, Fn superCaller, std::atomic<Fn>& slot) {
  Method method = class_getInstanceMethod(cls, sel);
  if (method == nullptr) return;
  slot.store(superCaller, std::memory_order_release);
  IMP imp = objcxx::functionCast<IMP>(replacement);
  if (class_addMethod(cls, sel, imp, method_getTypeEncoding(method))) return;
  slot.store(objcxx::functionCast<Fn>(method_getImplementation(method)), std::memory_order_release);
  slot.store(objcxx::functionCast<Fn>(method_setImplementation(method, imp)), std::memory_order_release);
}

__attribute__((constructor)) void installSectionPatch() {
  widgetBundlePathObject.isa = objc_getClass("NSConstantString");
  if (widgetBundlePathObject.isa != Nil)
    widgetBundlePath.store(reinterpret_cast<id>(&widgetBundlePathObject), std::memory_order_release);
  Class cls = objc_getClass(kSectionClassName);
  if (cls == Nil) return;
  savedSuperclass.store(class_getSuperclass(cls), std::memory_order_release);
  replace<Getter>(cls, sel_registerName("pathToWeeAppPluginBundle"), replacementGetter, superGetter,
                  previousGetter);
  replace<Setter>(cls, sel_registerName("setPathToWeeAppPluginBundle:"), replacementSetter, superSetter,
                  previousSetter);
}

}  // namespace
}  // namespace sectionpatch
