// The class registry and selector dispatch behind platform/ObjC.h.
#include "platform/core/ObjC.h"

#include <map>
#include <mutex>
#include <unordered_map>

namespace platform {
namespace {

struct ClassRecord {
  std::string superclass;
  std::type_index type;
  Factory factory;
  std::map<std::string, Method, std::less<>> methods;
  ClassRegistry::InstanceTest isInstance;
};

// Function-local so that registrars running during static initialisation of
// any library find it constructed.
struct Registry {
  std::recursive_mutex mutex;
  std::map<std::string, std::unique_ptr<ClassRecord>, std::less<>> classes;
  // Replaced records stay alive: findMethod's pointers into them stay valid.
  std::vector<std::unique_ptr<ClassRecord>> retired;
  std::unordered_map<std::type_index, std::string> namesByType;
  // Unregistered C++ types already matched to a registered class ("" for none).
  std::unordered_map<std::type_index, std::string> inferred;
  std::vector<std::string> order;
};

Registry& registry() {
  static Registry r;
  return r;
}

// Superclass chains longer than this are taken as a cycle (a class named as
// its own ancestor) and end the walk.
constexpr int kMaxChain = 256;

}  // namespace

void ClassRegistry::registerClass(std::string name, std::string superclass, std::type_index type, Factory factory,
                                  std::vector<MethodEntry> methods) {
  registerClass(std::move(name), std::move(superclass), type, std::move(factory), std::move(methods), nullptr);
}

void ClassRegistry::registerClass(std::string name, std::string superclass, std::type_index type, Factory factory,
                                  std::vector<MethodEntry> methods, InstanceTest isInstance) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  r.inferred.clear();
  auto record = std::make_unique<ClassRecord>(
      ClassRecord{std::move(superclass), type, std::move(factory), {}, std::move(isInstance)});
  for (auto& entry : methods) record->methods[entry.selector] = std::move(entry.method);
  r.namesByType.insert_or_assign(type, name);
  auto existing = r.classes.find(name);
  if (existing == r.classes.end()) {
    r.order.push_back(name);
    r.classes.emplace(std::move(name), std::move(record));
  } else {
    r.retired.push_back(std::move(existing->second));
    existing->second = std::move(record);
  }
}

bool ClassRegistry::exists(std::string_view name) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  return r.classes.find(name) != r.classes.end();
}

std::shared_ptr<Object> ClassRegistry::create(std::string_view name) {
  Factory factory;
  {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    auto found = r.classes.find(name);
    if (found == r.classes.end()) throw BindingError("unknown class \"" + std::string(name) + "\"");
    factory = found->second->factory;
  }
  if (!factory) throw BindingError("class \"" + std::string(name) + "\" cannot be instantiated");
  return factory();
}

std::string ClassRegistry::superclassOf(std::string_view name) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  auto found = r.classes.find(name);
  return found == r.classes.end() ? std::string() : found->second->superclass;
}

bool ClassRegistry::isSubclassOf(std::string_view name, std::string_view ancestor) {
  std::string current(name);
  for (int i = 0; i < kMaxChain && !current.empty(); ++i) {
    if (current == ancestor) return true;
    current = superclassOf(current);
  }
  return false;
}

std::string ClassRegistry::classNameOf(const Object& object) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  std::type_index type(typeid(object));
  if (auto found = r.namesByType.find(type); found != r.namesByType.end()) return found->second;
  if (auto found = r.inferred.find(type); found != r.inferred.end()) return found->second;
  std::string best;
  int bestDepth = -1;
  for (const auto& [name, record] : r.classes) {
    if (!record->isInstance || !record->isInstance(object)) continue;
    int depth = 0;
    for (auto up = r.classes.find(record->superclass); up != r.classes.end() && depth < kMaxChain;
         up = r.classes.find(up->second->superclass))
      ++depth;
    if (depth > bestDepth) {
      best = name;
      bestDepth = depth;
    }
  }
  r.inferred.emplace(type, best);
  return best;
}

const Method* ClassRegistry::findMethod(std::string_view className, std::string_view selector) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  std::string current(className);
  for (int i = 0; i < kMaxChain && !current.empty(); ++i) {
    auto found = r.classes.find(current);
    if (found == r.classes.end()) return nullptr;
    auto method = found->second->methods.find(selector);
    if (method != found->second->methods.end()) return &method->second;
    current = found->second->superclass;
  }
  return nullptr;
}

std::vector<std::string> ClassRegistry::classNames() {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  return r.order;
}

bool respondsToSelector(const Object& receiver, std::string_view selector) {
  return ClassRegistry::findMethod(ClassRegistry::classNameOf(receiver), selector) != nullptr;
}

Value performSelector(Object& receiver, std::string_view selector, const Value& value, PSSpecifier* specifier) {
  std::string className = ClassRegistry::classNameOf(receiver);
  const Method* method = ClassRegistry::findMethod(className, selector);
  if (!method) {
    throw BindingError((className.empty() ? std::string("an unregistered class") : "class \"" + className + "\"") +
                       " does not answer selector \"" + std::string(selector) + "\"");
  }
  Method call = *method;  // a copy: the call may register classes
  return call(receiver, value, specifier);
}

}  // namespace platform
