#include "platform/Value.h"

#include <cmath>
#include <limits>

namespace platform {

Dictionary::Dictionary(std::initializer_list<Entry> entries) {
  for (const auto& e : entries) set(e.first, e.second);
}

const Value* Dictionary::find(std::string_view key) const {
  auto it = index_.find(std::string(key));
  return it == index_.end() ? nullptr : &entries_[it->second].second;
}

Value* Dictionary::find(std::string_view key) {
  auto it = index_.find(std::string(key));
  return it == index_.end() ? nullptr : &entries_[it->second].second;
}

void Dictionary::set(std::string key, Value value) {
  auto it = index_.find(key);
  if (it != index_.end()) {
    entries_[it->second].second = std::move(value);
    return;
  }
  index_.emplace(key, entries_.size());
  entries_.emplace_back(std::move(key), std::move(value));
}

bool Dictionary::remove(std::string_view key) {
  auto it = index_.find(std::string(key));
  if (it == index_.end()) return false;
  std::size_t at = it->second;
  index_.erase(it);
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(at));
  reindexFrom(at);
  return true;
}

void Dictionary::reindexFrom(std::size_t first) {
  for (std::size_t i = first; i < entries_.size(); ++i) index_[entries_[i].first] = i;
}

bool Dictionary::operator==(const Dictionary& other) const {
  if (size() != other.size()) return false;
  for (const auto& [k, v] : entries_) {
    const Value* o = other.find(k);
    if (!o || !(*o == v)) return false;
  }
  return true;
}

std::int64_t Value::int64Value() const {
  if (auto i = std::get_if<Int>(&v_)) return i->v;
  if (auto d = std::get_if<double>(&v_)) {
    if (std::isnan(*d)) return 0;
    if (*d >= 9.2233720368547758e18) return std::numeric_limits<std::int64_t>::max();
    if (*d <= -9.2233720368547758e18) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(*d);
  }
  return 0;
}

std::int32_t Value::intValue() const {
  // Truncation to the low 32 bits, as a C cast of the 64-bit value does on the device.
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(int64Value())));
}

double Value::doubleValue() const {
  if (auto i = std::get_if<Int>(&v_))
    return i->unsignedBig ? static_cast<double>(static_cast<std::uint64_t>(i->v)) : static_cast<double>(i->v);
  if (auto d = std::get_if<double>(&v_)) return *d;
  return 0;
}

bool Value::isUnsignedBig() const {
  auto i = std::get_if<Int>(&v_);
  return i && i->unsignedBig;
}

bool Value::operator==(const Value& other) const {
  if (isNumber() && other.isNumber()) {
    if (isInteger() && other.isInteger()) {
      auto a = std::get<Int>(v_), b = std::get<Int>(other.v_);
      return a.v == b.v && a.unsignedBig == b.unsignedBig;
    }
    return doubleValue() == other.doubleValue();
  }
  if (type() != other.type()) return false;
  switch (type()) {
    case Type::Nil: return true;
    case Type::Dictionary: return *dictionary() == *other.dictionary();
    case Type::Array: return *array() == *other.array();
    case Type::String: return *string() == *other.string();
    case Type::Boolean: return *boolean() == *other.boolean();
    case Type::Data: return *data() == *other.data();
    case Type::Date: return *date() == *other.date();
    case Type::Object: return *object() == *other.object();
    default: return false;
  }
}

}  // namespace platform
