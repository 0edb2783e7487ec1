#include <functional>
#include "platform/core/Value.h"

#include <cmath>
#include <limits>

namespace platform {

Dictionary::Dictionary(std::initializer_list<Entry> entries) {
  for (const auto& e : entries) set(e.first, e.second);
}

Dictionary::Dictionary(std::vector<Entry>&& entries) {
  entries_.reserve(entries.size());
  for (auto& [key, value] : entries) set(std::move(key), std::move(value));
  entries.clear();
}

std::size_t Dictionary::slotFor(std::string_view key) const {
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = std::hash<std::string_view>{}(key) & mask;
  while (slots_[i] != 0 && entries_[slots_[i] - 1].first != key) i = (i + 1) & mask;
  return i;
}

void Dictionary::rebuildIndex() {
  slots_.clear();
  if (entries_.size() <= kLinearLimit) return;
  std::size_t capacity = 16;
  while (capacity < 2 * entries_.size()) capacity *= 2;
  slots_.assign(capacity, 0);
  for (std::size_t at = 0; at < entries_.size(); ++at) {
    slots_[slotFor(entries_[at].first)] = static_cast<std::uint32_t>(at + 1);
  }
}

const Value* Dictionary::find(std::string_view key) const {
  if (slots_.empty()) {
    for (const auto& entry : entries_) {
      if (entry.first == key) return &entry.second;
    }
    return nullptr;
  }
  std::uint32_t slot = slots_[slotFor(key)];
  return slot ? &entries_[slot - 1].second : nullptr;
}

Value* Dictionary::find(std::string_view key) {
  return const_cast<Value*>(static_cast<const Dictionary*>(this)->find(key));
}

void Dictionary::set(std::string key, Value value) {
  if (Value* existing = find(key)) {
    *existing = std::move(value);
    return;
  }
  entries_.emplace_back(std::move(key), std::move(value));
  if (entries_.size() <= kLinearLimit) return;
  if (slots_.empty() || 2 * entries_.size() > slots_.size()) {
    rebuildIndex();
  } else {
    slots_[slotFor(entries_.back().first)] = static_cast<std::uint32_t>(entries_.size());
  }
}

bool Dictionary::remove(std::string_view key) {
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    if (it->first == key) {
      entries_.erase(it);
      rebuildIndex();
      return true;
    }
  }
  return false;
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

float Value::floatValue() const {
  // An integer is rounded once, straight to single precision: through a
  // double it could be rounded twice and land on another float.
  if (auto i = std::get_if<Int>(&v_))
    return i->unsignedBig ? static_cast<float>(static_cast<std::uint64_t>(i->v)) : static_cast<float>(i->v);
  if (auto d = std::get_if<double>(&v_)) return static_cast<float>(*d);
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
