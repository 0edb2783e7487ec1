// One value type for everything a property list can hold, plus references to
// live objects that rows carry in their properties (a cell, a switch).
//
// A default-constructed Value is nil. Dictionaries keep insertion order: the
// order read from a file, new keys last; lookups are hashed. Booleans are a
// type of their own and never compare equal to numbers. Equality follows
// Foundation: integers and reals compare by numeric value, strings by their
// characters, dictionaries regardless of key order, dates by time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace platform {

class Value;

// Base of the live objects a Value may refer to. Such references are never
// written to a file.
class Object {
 public:
  virtual ~Object() = default;
};

using Array = std::vector<Value>;
using Data = std::vector<std::uint8_t>;

// Seconds since 2001-01-01 00:00:00 UTC, as Core Foundation counts time.
struct Date {
  double seconds = 0;
  bool operator==(const Date&) const = default;
};

class Dictionary {
 public:
  using Entry = std::pair<std::string, Value>;

  Dictionary() = default;
  Dictionary(std::initializer_list<Entry> entries);
  // Takes entries in order; a repeated key keeps its first position and its
  // last value, as set() would leave it.
  explicit Dictionary(std::vector<Entry>&& entries);

  // Defined below Value: clang needs Value complete to instantiate them.
  std::size_t size() const;
  bool empty() const;

  // The value under key, or null when the key is absent.
  const Value* find(std::string_view key) const;
  Value* find(std::string_view key);
  bool contains(std::string_view key) const { return find(key) != nullptr; }

  // Replaces the value of an existing key in place (its position is kept) or
  // appends a new key at the end.
  void set(std::string key, Value value);
  // Returns whether the key was present.
  bool remove(std::string_view key);

  auto begin() const { return entries_.begin(); }
  auto end() const { return entries_.end(); }

  // Same keys with equal values, whatever the order.
  bool operator==(const Dictionary& other) const;

 private:
  // Small dictionaries are searched in order; larger ones keep an
  // open-addressing table of entry positions (plus one; 0 marks a free slot),
  // so copying a dictionary copies no strings twice and lookups allocate
  // nothing.
  static constexpr std::size_t kLinearLimit = 8;
  std::size_t slotFor(std::string_view key) const;
  void rebuildIndex();
  std::vector<Entry> entries_;
  std::vector<std::uint32_t> slots_;
};

class Value {
 public:
  enum class Type { Nil, Dictionary, Array, String, Integer, Real, Boolean, Data, Date, Object };

  Value() = default;
  Value(std::nullptr_t) {}
  Value(platform::Dictionary d) : v_(std::move(d)) {}
  Value(platform::Array a) : v_(std::move(a)) {}
  Value(std::string s) : v_(std::move(s)) {}
  Value(std::string_view s) : v_(std::string(s)) {}
  Value(const char* s) : v_(std::string(s)) {}
  Value(bool b) : v_(b) {}
  Value(int i) : v_(Int{i, false}) {}
  Value(long i) : v_(Int{static_cast<std::int64_t>(i), false}) {}
  Value(long long i) : v_(Int{static_cast<std::int64_t>(i), false}) {}
  Value(unsigned u) : v_(Int{static_cast<std::int64_t>(u), false}) {}
  // Values above INT64_MAX keep their unsigned meaning.
  Value(unsigned long u) : v_(Int{static_cast<std::int64_t>(u), u > INT64_MAX}) {}
  Value(unsigned long long u) : v_(Int{static_cast<std::int64_t>(u), u > INT64_MAX}) {}
  Value(double d) : v_(d) {}
  Value(platform::Data d) : v_(std::move(d)) {}
  Value(platform::Date d) : v_(d) {}
  Value(std::shared_ptr<platform::Object> o) : v_(std::move(o)) {}

  Type type() const { return static_cast<Type>(v_.index()); }
  bool isNil() const { return type() == Type::Nil; }
  bool isDictionary() const { return type() == Type::Dictionary; }
  bool isArray() const { return type() == Type::Array; }
  bool isString() const { return type() == Type::String; }
  bool isInteger() const { return type() == Type::Integer; }
  bool isReal() const { return type() == Type::Real; }
  bool isNumber() const { return isInteger() || isReal(); }
  bool isBoolean() const { return type() == Type::Boolean; }
  bool isData() const { return type() == Type::Data; }
  bool isDate() const { return type() == Type::Date; }
  bool isObject() const { return type() == Type::Object; }

  // Typed access; null when the value is of another type.
  const platform::Dictionary* dictionary() const { return std::get_if<platform::Dictionary>(&v_); }
  platform::Dictionary* dictionary() { return std::get_if<platform::Dictionary>(&v_); }
  const platform::Array* array() const { return std::get_if<platform::Array>(&v_); }
  platform::Array* array() { return std::get_if<platform::Array>(&v_); }
  const std::string* string() const { return std::get_if<std::string>(&v_); }
  const platform::Data* data() const { return std::get_if<platform::Data>(&v_); }
  const platform::Date* date() const { return std::get_if<platform::Date>(&v_); }
  const bool* boolean() const { return std::get_if<bool>(&v_); }
  const std::shared_ptr<platform::Object>* object() const {
    return std::get_if<std::shared_ptr<platform::Object>>(&v_);
  }
  // The referenced live object cast to T, or null.
  template <class T>
  std::shared_ptr<T> objectAs() const {
    auto o = object();
    return o ? std::dynamic_pointer_cast<T>(*o) : nullptr;
  }

  // Number conversions as NSNumber makes them; 0 for non-numbers.
  std::int64_t int64Value() const;
  // intValue: converted to 32 bits, a fraction cut toward zero.
  std::int32_t intValue() const;
  double doubleValue() const;
  // floatValue: the nearest float (an integer rounded once, not by way of a
  // double).
  float floatValue() const;
  // True when an integer was stored as an unsigned value above INT64_MAX.
  bool isUnsignedBig() const;

  bool operator==(const Value& other) const;

 private:
  struct Int {
    std::int64_t v;
    bool unsignedBig;
  };
  std::variant<std::monostate, platform::Dictionary, platform::Array, std::string, Int, double, bool,
               platform::Data, platform::Date, std::shared_ptr<platform::Object>>
      v_;
};

inline std::size_t Dictionary::size() const { return entries_.size(); }
inline bool Dictionary::empty() const { return entries_.empty(); }

}  // namespace platform
