// Dynamic binding for the device classes: the stand-in for NSClassFromString
// and for sending a selector named by a string.
//
// Plists name getters, setters, actions, data sources and detail panes by
// string. Each class registers once (a static ClassRegistrar in its .cpp): its
// name, its superclass name, a factory and a table from selector string to
// member function. Lookups follow the superclass chain. Names that are not
// registered are reported with BindingError, never a crash.
//
//   // in VLRPListController.cpp
//   static platform::ClassRegistrar<VLRPListController> registrar(
//       "VLRPListController", "VLRSettingsController",
//       {{"widgetVersion", &VLRPListController::widgetVersion},
//        {"setViewType:forSpecifier:", &VLRPListController::setViewType},
//        {"resetColors", &VLRPListController::resetColors}});
//
// Member functions may have any of these natural signatures (C the class):
//   getters / data sources:  Value C::f()          Value C::f(PSSpecifier*)
//   setters:                 void C::f(const Value&, PSSpecifier*)
//                            void C::f(const Value&)   (the row is dropped)
//   actions:                 void C::f()           void C::f(PSSpecifier*)
// const member functions are taken too.
#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <tuple>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeindex>
#include <vector>

#include "platform/core/Value.h"

class PSSpecifier;

namespace platform {

// An unknown class or selector, or a bound member called on an object of the
// wrong class. what() names what was missing (and, from the plist loader, the
// plist and the row).
class BindingError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A type-erased member function. Every binding kind is called the same way:
// the receiver, the value (setters; nil otherwise) and the row (may be null).
// Getters and data sources return their value; setters and actions return nil.
using Method = std::function<Value(Object& self, const Value& value, PSSpecifier* specifier)>;

namespace detail {

template <class C>
C& receiver(Object& self) {
  C* c = dynamic_cast<C*>(&self);
  if (!c) throw BindingError("method called on an object of another class");
  return *c;
}

template <class M>
struct MemberTraits;
#define VELLORIA_MEMBER_TRAITS(QUAL)                                              \
  template <class C, class R, class... A>                                         \
  struct MemberTraits<R (C::*)(A...) QUAL> {                                       \
    using Class = C;                                                              \
    using Result = R;                                                             \
    static constexpr std::size_t arity = sizeof...(A);                            \
    template <std::size_t I>                                                      \
    using Arg = std::tuple_element_t<I, std::tuple<A...>>;                        \
  };
VELLORIA_MEMBER_TRAITS()
VELLORIA_MEMBER_TRAITS(const)
#undef VELLORIA_MEMBER_TRAITS

}  // namespace detail

// Wraps a member function of one of the supported signatures as a Method.
template <class M>
Method adaptMethod(M member) {
  using T = detail::MemberTraits<M>;
  using C = typename T::Class;
  using R = typename T::Result;
  static_assert(std::is_same_v<R, void> || std::is_convertible_v<R, Value>,
                "bound members return void or a Value");
  return [member](Object& self, const Value& value, PSSpecifier* specifier) -> Value {
    C& c = detail::receiver<C>(self);
    auto call = [&]() -> decltype(auto) {
      if constexpr (T::arity == 0) {
        return (c.*member)();
      } else if constexpr (T::arity == 1) {
        using A0 = typename T::template Arg<0>;
        // Told apart by type, not convertibility: a pointer converts to a
        // boolean Value.
        if constexpr (std::is_pointer_v<std::remove_cvref_t<A0>>) {
          return (c.*member)(specifier);
        } else {
          static_assert(std::is_convertible_v<const Value&, A0>, "one argument: the row or the value");
          return (c.*member)(value);
        }
      } else {
        static_assert(T::arity == 2, "at most two arguments: value and row");
        return (c.*member)(value, specifier);
      }
    };
    if constexpr (std::is_same_v<R, void>) {
      call();
      return Value();
    } else {
      return Value(call());
    }
  };
}

// One entry of a class's selector table: {"selector:string:", &C::member}.
struct MethodEntry {
  std::string selector;
  Method method;
  template <class M>
  MethodEntry(const char* sel, M member) : selector(sel), method(adaptMethod(member)) {}
};

using Factory = std::function<std::shared_ptr<Object>()>;

// The process-wide class registry.
class ClassRegistry {
 public:
  // Registers (or replaces) a class. `type` is its C++ type, so that the
  // class of a live object can be named; superclass "" for a root class.
  static void registerClass(std::string name, std::string superclass, std::type_index type, Factory factory,
                            std::vector<MethodEntry> methods);
  // The same with a test of whether an object is of the class or derives
  // from it in C++, so that objects of unregistered C++ subclasses are
  // known by their nearest registered class.
  using InstanceTest = std::function<bool(const Object&)>;
  static void registerClass(std::string name, std::string superclass, std::type_index type, Factory factory,
                            std::vector<MethodEntry> methods, InstanceTest isInstance);
  // Whether a class of that name is registered.
  static bool exists(std::string_view name);
  // A new instance of the class. Throws BindingError for an unknown class or
  // one without a factory (an abstract class).
  static std::shared_ptr<Object> create(std::string_view name);
  // The superclass name, or "" (unknown class or root class).
  static std::string superclassOf(std::string_view name);
  // Whether `name` is `ancestor` or inherits from it.
  static bool isSubclassOf(std::string_view name, std::string_view ancestor);
  // The registered name of an object's class: its own C++ type's, else that
  // of the registered class deepest in the superclass chain that it derives
  // from; "" when it derives from no registered class.
  static std::string classNameOf(const Object& object);
  // The method for a selector of a class or its superclasses, or null.
  static const Method* findMethod(std::string_view className, std::string_view selector);
  // All class names in registration order; the settings host takes the ones
  // added while it loaded a bundle as that bundle's classes.
  static std::vector<std::string> classNames();
};

// Whether an object answers a selector (respondsToSelector:).
bool respondsToSelector(const Object& receiver, std::string_view selector);

// Sends a selector to an object (performSelector:). Throws BindingError when
// the object's class (or its chain) has no such selector.
Value performSelector(Object& receiver, std::string_view selector, const Value& value = Value(),
                      PSSpecifier* specifier = nullptr);

// Registers class C at static-initialisation time; see the example above.
// C needs a public default constructor unless `abstract` is passed as true.
template <class C>
struct ClassRegistrar {
  ClassRegistrar(const char* name, const char* superclass, std::initializer_list<MethodEntry> methods = {},
                 bool abstract = false) {
    Factory factory;
    if constexpr (std::is_default_constructible_v<C>) {
      if (!abstract) factory = [] { return std::static_pointer_cast<Object>(std::make_shared<C>()); };
    }
    ClassRegistry::registerClass(name, superclass, std::type_index(typeid(C)), std::move(factory),
                                 std::vector<MethodEntry>(methods),
                                 [](const Object& o) { return dynamic_cast<const C*>(&o) != nullptr; });
  }
};

}  // namespace platform
