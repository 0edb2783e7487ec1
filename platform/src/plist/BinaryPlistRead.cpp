// Binary lists are read by this bounds-checked reader rather than libplist,
// whose 2.2 binary parser reads out of range on hostile offsets. Every offset
// and reference is checked against the file, references back into an
// object's own ancestors are refused, nesting is limited, and shared objects
// cannot make the expanded value larger than a budget proportional to the
// file.
#include "BinaryPlistRead.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/core/Strings.h"


namespace platform::plist {
namespace {

constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kTrailerSize = 32;

std::uint64_t readBigEndian(const std::uint8_t* p, unsigned size) {
  std::uint64_t v = 0;
  for (unsigned i = 0; i < size; ++i) v = (v << 8) | p[i];
  return v;
}

class BinaryReader {
 public:
  BinaryReader(std::string_view bytes, const PropertyListLimits& limits)
      : data_(reinterpret_cast<const std::uint8_t*>(bytes.data())), size_(bytes.size()), limits_(limits) {
    // Each reference costs at least a byte of the file, so a tree without
    // shared containers never expands beyond this many values. Writers share
    // equal strings, so text, data and numbers may grow beyond the file: up
    // to what the largest file the limits accept could hold, plus a margin
    // per byte of this one.
    valueBudget_ = size_ + 16;
    byteBudget_ = 4 * size_ + 4096 + std::min<std::uint64_t>(limits.maxBytes, 1ull << 62);
  }

  std::optional<Value> read() {
    if (size_ < kHeaderSize + kTrailerSize || std::memcmp(data_, "bplist00", kHeaderSize) != 0) return std::nullopt;
    const std::uint8_t* trailer = data_ + size_ - kTrailerSize;
    offsetSize_ = trailer[6];
    refSize_ = trailer[7];
    std::uint64_t count = readBigEndian(trailer + 8, 8);
    std::uint64_t top = readBigEndian(trailer + 16, 8);
    std::uint64_t tableOffset = readBigEndian(trailer + 24, 8);
    if (offsetSize_ < 1 || offsetSize_ > 8 || refSize_ < 1 || refSize_ > 8) return std::nullopt;
    std::uint64_t objectsEnd = size_ - kTrailerSize;
    if (count == 0 || top >= count || tableOffset < kHeaderSize || tableOffset > objectsEnd) return std::nullopt;
    if (count > (objectsEnd - tableOffset) / offsetSize_) return std::nullopt;
    tableOffset_ = tableOffset;
    count_ = count;
    onPath_.assign(count, false);
    return object(top, 0);
  }

 private:
  // The file offset of object `index`, checked to lie among the objects.
  std::optional<std::uint64_t> offsetOf(std::uint64_t index) const {
    std::uint64_t offset = readBigEndian(data_ + tableOffset_ + index * offsetSize_, offsetSize_);
    if (offset < kHeaderSize || offset >= tableOffset_) return std::nullopt;
    return offset;
  }

  // The element count of a marker: its low nibble, or a following integer.
  bool length(std::uint8_t marker, std::uint64_t* at, std::uint64_t* out) const {
    unsigned info = marker & 0x0F;
    if (info != 0x0F) {
      *out = info;
      return true;
    }
    if (*at >= tableOffset_) return false;
    std::uint8_t intMarker = data_[*at];
    if ((intMarker & 0xF0) != 0x10 || (intMarker & 0x0F) > 3) return false;
    unsigned size = 1u << (intMarker & 0x0F);
    if (tableOffset_ - *at - 1 < size) return false;
    *out = readBigEndian(data_ + *at + 1, size);
    *at += 1 + size;
    return true;
  }

  // Whether `n` items of `itemSize` bytes fit between `at` and the table.
  bool fits(std::uint64_t at, std::uint64_t n, std::uint64_t itemSize) const {
    return at <= tableOffset_ && n <= (tableOffset_ - at) / itemSize;
  }

  bool spend(std::uint64_t bytes) {
    if (valueBudget_ == 0 || bytes > byteBudget_) return false;
    --valueBudget_;
    byteBudget_ -= bytes;
    return true;
  }

  std::optional<Value> object(std::uint64_t index, unsigned depth) {
    if (index >= count_ || onPath_[index] || depth >= limits_.maxDepth) return std::nullopt;
    auto offset = offsetOf(index);
    if (!offset) return std::nullopt;
    std::uint64_t at = *offset;
    std::uint8_t marker = data_[at++];
    unsigned info = marker & 0x0F;
    switch (marker >> 4) {
      case 0x0:
        if (marker == 0x08 || marker == 0x09) {
          if (!spend(1)) return std::nullopt;
          return Value(marker == 0x09);
        }
        return std::nullopt;
      case 0x1: return integer(info, at);
      case 0x2: {
        if (info != 2 && info != 3) return std::nullopt;
        unsigned size = 1u << info;
        if (!fits(at, 1, size) || !spend(8)) return std::nullopt;
        std::uint64_t bits = readBigEndian(data_ + at, size);
        if (size == 4) {
          std::uint32_t narrow = static_cast<std::uint32_t>(bits);
          float f;
          std::memcpy(&f, &narrow, 4);
          return Value(static_cast<double>(f));
        }
        double d;
        std::memcpy(&d, &bits, 8);
        return Value(d);
      }
      case 0x3: {
        if (marker != 0x33 || !fits(at, 1, 8) || !spend(8)) return std::nullopt;
        std::uint64_t bits = readBigEndian(data_ + at, 8);
        double d;
        std::memcpy(&d, &bits, 8);
        return Value(Date{d});
      }
      case 0x4: {
        std::uint64_t n;
        if (!length(marker, &at, &n) || !fits(at, n, 1) || !spend(n)) return std::nullopt;
        return Value(Data(data_ + at, data_ + at + n));
      }
      case 0x5: {
        std::uint64_t n;
        if (!length(marker, &at, &n) || !fits(at, n, 1) || !spend(n)) return std::nullopt;
        std::string_view text(reinterpret_cast<const char*>(data_ + at), n);
        for (char c : text) {
          if (static_cast<unsigned char>(c) > 0x7F) return std::nullopt;
        }
        return Value(text);
      }
      case 0x6: {
        std::uint64_t n;
        if (!length(marker, &at, &n) || !fits(at, n, 2)) return std::nullopt;
        // Charged by its UTF-8 size, as it is held.
        auto text = utf16String(at, n);
        if (!text || !spend(text->string()->size())) return std::nullopt;
        return text;
      }
      case 0xA: return array(marker, at, depth, index);
      case 0xD: return dictionary(marker, at, depth, index);
      default:  // UIDs, sets and unknown markers are not property-list values
        return std::nullopt;
    }
  }

  std::optional<Value> integer(unsigned info, std::uint64_t at) {
    if (info > 4) return std::nullopt;
    unsigned size = 1u << info;
    if (!fits(at, 1, size) || !spend(8)) return std::nullopt;
    if (size == 16) {
      // 128-bit integers are written for unsigned values above INT64_MAX.
      std::uint64_t high = readBigEndian(data_ + at, 8);
      std::uint64_t low = readBigEndian(data_ + at + 8, 8);
      if (high == 0) return Value(static_cast<unsigned long long>(low));
      if (high == UINT64_MAX && (low >> 63)) return Value(static_cast<long long>(low));
      return std::nullopt;
    }
    std::uint64_t v = readBigEndian(data_ + at, size);
    if (size == 8) return Value(static_cast<long long>(v));  // eight bytes are signed
    return Value(static_cast<unsigned long long>(v));
  }

  std::optional<Value> utf16String(std::uint64_t at, std::uint64_t n) {
    std::string text;
    text.reserve(n);
    for (std::uint64_t i = 0; i < n; ++i) {
      std::uint32_t unit = static_cast<std::uint32_t>(readBigEndian(data_ + at + 2 * i, 2));
      std::uint32_t cp = unit;
      if (unit >= 0xD800 && unit <= 0xDBFF) {
        if (i + 1 >= n) return std::nullopt;
        std::uint32_t low = static_cast<std::uint32_t>(readBigEndian(data_ + at + 2 * (i + 1), 2));
        if (low < 0xDC00 || low > 0xDFFF) return std::nullopt;
        cp = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
        return std::nullopt;
      }
      appendUTF8(text, cp);
    }
    return Value(std::move(text));
  }

  std::uint64_t reference(std::uint64_t at, std::uint64_t i) const {
    return readBigEndian(data_ + at + i * refSize_, refSize_);
  }

  // Marks `index` as an ancestor of what is read inside `read`.
  template <class F>
  std::optional<Value> nested(std::uint64_t index, F&& read) {
    onPath_[index] = true;
    auto result = read();
    onPath_[index] = false;
    return result;
  }

  std::optional<Value> array(std::uint8_t marker, std::uint64_t at, unsigned depth, std::uint64_t index) {
    std::uint64_t n;
    if (!length(marker, &at, &n) || !fits(at, n, refSize_) || !spend(n)) return std::nullopt;
    return nested(index, [&]() -> std::optional<Value> {
      Array items;
      items.reserve(n);
      for (std::uint64_t i = 0; i < n; ++i) {
        auto item = object(reference(at, i), depth + 1);
        if (!item) return std::nullopt;
        items.push_back(std::move(*item));
      }
      return Value(std::move(items));
    });
  }

  std::optional<Value> dictionary(std::uint8_t marker, std::uint64_t at, unsigned depth, std::uint64_t index) {
    std::uint64_t n;
    if (!length(marker, &at, &n) || n > UINT64_MAX / 2 || !fits(at, 2 * n, refSize_) || !spend(n)) {
      return std::nullopt;
    }
    return nested(index, [&]() -> std::optional<Value> {
      Dictionary entries;
      for (std::uint64_t i = 0; i < n; ++i) {
        auto key = object(reference(at, i), depth + 1);
        if (!key || !key->isString()) return std::nullopt;
        auto value = object(reference(at, n + i), depth + 1);
        if (!value) return std::nullopt;
        entries.set(*key->string(), std::move(*value));
      }
      return Value(std::move(entries));
    });
  }

  const std::uint8_t* data_;
  std::uint64_t size_;
  const PropertyListLimits& limits_;
  unsigned offsetSize_ = 0, refSize_ = 0;
  std::uint64_t tableOffset_ = 0, count_ = 0;
  std::vector<bool> onPath_;
  std::uint64_t valueBudget_, byteBudget_;
};

}  // namespace

std::optional<Value> parseBinary(std::string_view bytes, const PropertyListLimits& limits) {
  return BinaryReader(bytes, limits).read();
}

}  // namespace platform::plist
