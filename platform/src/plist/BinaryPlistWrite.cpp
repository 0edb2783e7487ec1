// The binary encoding as Core Foundation lays it out: the "bplist00" header,
// the objects, a table of their offsets and a trailer giving the sizes of
// offsets and references. Equal scalars (strings and keys above all) are
// written once and shared by reference; containers are never shared.
#include "BinaryPlistWrite.h"

#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "platform/core/Strings.h"

namespace platform::plist {
namespace {

void appendBigEndian(std::string& out, std::uint64_t v, unsigned size) {
  for (unsigned i = size; i-- > 0;) out += static_cast<char>(static_cast<std::uint8_t>(v >> (8 * i)));
}

// The smallest of the widths 1, 2, 4 and 8 bytes that holds v.
unsigned widthFor(std::uint64_t v) { return v <= 0xFF ? 1 : v <= 0xFFFF ? 2 : v <= 0xFFFFFFFF ? 4 : 8; }

// log2 of a width, as integer markers carry it.
unsigned widthCode(unsigned width) { return width == 1 ? 0 : width == 2 ? 1 : width == 4 ? 2 : 3; }

void appendUnsigned(std::string& out, std::uint64_t v) {
  unsigned width = widthFor(v);
  out += static_cast<char>(0x10 | widthCode(width));
  appendBigEndian(out, v, width);
}

// A marker's kind in the high nibble and its element count in the low one,
// or 0xF and the count as an integer object that follows.
void appendMarker(std::string& out, std::uint8_t kind, std::uint64_t count) {
  if (count < 15) {
    out += static_cast<char>(kind << 4 | count);
    return;
  }
  out += static_cast<char>(kind << 4 | 0xF);
  appendUnsigned(out, count);
}

void appendDouble(std::string& out, std::uint8_t marker, double d) {
  std::uint64_t bits;
  std::memcpy(&bits, &d, sizeof bits);
  out += static_cast<char>(marker);
  appendBigEndian(out, bits, 8);
}

// ASCII text as its bytes; anything else as UTF-16BE (astral characters as
// surrogate pairs). False for text that is not well-formed UTF-8.
bool appendString(std::string& out, std::string_view s) {
  bool ascii = true;
  for (char c : s) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) {
    appendMarker(out, 0x5, s.size());
    out += s;
    return true;
  }
  if (!isValidUTF8(s) || s.size() > INT32_MAX) return false;
  appendMarker(out, 0x6, utf16Length(s));
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(s.data());
  auto length = static_cast<std::int32_t>(s.size());
  for (std::int32_t i = 0; i < length;) {
    UChar32 c;
    U8_NEXT_UNSAFE(bytes, i, c);
    if (U_IS_BMP(c)) {
      appendBigEndian(out, static_cast<std::uint64_t>(c), 2);
    } else {
      appendBigEndian(out, U16_LEAD(c), 2);
      appendBigEndian(out, U16_TRAIL(c), 2);
    }
  }
  return true;
}

class BinaryWriter {
 public:
  bool write(const Value& root, std::string& out) {
    if (!add(root)) return false;
    std::uint64_t count = objects_.size();
    unsigned refSize = widthFor(count - 1);
    out.clear();
    out += "bplist00";
    std::vector<std::uint64_t> offsets;
    offsets.reserve(count);
    for (const Object& object : objects_) {
      offsets.push_back(out.size());
      if (object.scalar) {
        out += *object.scalar;
        continue;
      }
      bool dictionary = object.kind == 0xD;
      appendMarker(out, object.kind, dictionary ? object.refs.size() / 2 : object.refs.size());
      for (std::uint64_t ref : object.refs) appendBigEndian(out, ref, refSize);
    }
    std::uint64_t tableOffset = out.size();
    unsigned offsetSize = widthFor(offsets.back());
    for (std::uint64_t offset : offsets) appendBigEndian(out, offset, offsetSize);
    out.append(6, '\0');  // unused, sort version
    out += static_cast<char>(offsetSize);
    out += static_cast<char>(refSize);
    appendBigEndian(out, count, 8);
    appendBigEndian(out, 0, 8);  // the top object is the first
    appendBigEndian(out, tableOffset, 8);
    return true;
  }

 private:
  // A scalar refers to its encoded bytes (the key of unique_); a container
  // holds its kind and the indexes of its elements (for a dictionary, the
  // keys, then the values).
  struct Object {
    const std::string* scalar = nullptr;
    std::uint8_t kind = 0;
    std::vector<std::uint64_t> refs;
  };

  // Adds the value's objects (a scalar only when it is new) and sets last_
  // to the value's own index.
  bool add(const Value& value) {
    switch (value.type()) {
      case Value::Type::Array: {
        std::size_t at = objects_.size();
        objects_.emplace_back();
        std::vector<std::uint64_t> refs;
        refs.reserve(value.array()->size());
        for (const Value& item : *value.array()) {
          if (!add(item)) return false;
          refs.push_back(last_);
        }
        objects_[at].kind = 0xA;
        objects_[at].refs = std::move(refs);
        last_ = at;
        return true;
      }
      case Value::Type::Dictionary: {
        const Dictionary& dictionary = *value.dictionary();
        std::size_t at = objects_.size();
        objects_.emplace_back();
        std::vector<std::uint64_t> refs(2 * dictionary.size());
        std::size_t i = 0;
        for (const auto& [key, item] : dictionary) {
          scratch_.clear();
          if (!appendString(scratch_, key)) return false;
          refs[i] = unique();
          if (!add(item)) return false;
          refs[dictionary.size() + i] = last_;
          ++i;
        }
        objects_[at].kind = 0xD;
        objects_[at].refs = std::move(refs);
        last_ = at;
        return true;
      }
      default:
        scratch_.clear();
        if (!scalar(value)) return false;
        last_ = unique();
        return true;
    }
  }

  // The encoding of a scalar into scratch_.
  bool scalar(const Value& value) {
    switch (value.type()) {
      case Value::Type::String: return appendString(scratch_, *value.string());
      case Value::Type::Integer: {
        std::int64_t v = value.int64Value();
        if (value.isUnsignedBig()) {
          scratch_ += '\x14';  // sixteen bytes: the high eight are zero
          appendBigEndian(scratch_, 0, 8);
          appendBigEndian(scratch_, static_cast<std::uint64_t>(v), 8);
        } else if (v < 0) {
          scratch_ += '\x13';
          appendBigEndian(scratch_, static_cast<std::uint64_t>(v), 8);
        } else {
          appendUnsigned(scratch_, static_cast<std::uint64_t>(v));
        }
        return true;
      }
      case Value::Type::Real: appendDouble(scratch_, 0x23, value.doubleValue()); return true;
      case Value::Type::Date: appendDouble(scratch_, 0x33, value.date()->seconds); return true;
      case Value::Type::Boolean: scratch_ += *value.boolean() ? '\x09' : '\x08'; return true;
      case Value::Type::Data:
        appendMarker(scratch_, 0x4, value.data()->size());
        scratch_.append(reinterpret_cast<const char*>(value.data()->data()), value.data()->size());
        return true;
      default: return false;  // nil, live objects
    }
  }

  // The index of the scalar in scratch_, added when it is new.
  std::uint64_t unique() {
    auto [it, added] = unique_.try_emplace(scratch_, objects_.size());
    if (added) objects_.push_back(Object{&it->first, 0, {}});
    return it->second;
  }

  std::vector<Object> objects_;
  std::unordered_map<std::string, std::uint64_t> unique_;  // node-based: keys stay put
  std::string scratch_;
  std::uint64_t last_ = 0;
};

}  // namespace

bool encodeBinary(const Value& value, std::string& out) { return BinaryWriter().write(value, out); }

}  // namespace platform::plist
