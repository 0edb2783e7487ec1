// Writing property lists: XML whenever it carries the value exactly, the
// binary encoding otherwise, so that whatever a reader accepted can be
// written back unchanged.
#include "BinaryPlistWrite.h"
#include "XmlPlistWrite.h"
#include "platform/os/FileSystem.h"
#include "platform/plist/PropertyList.h"
#include "platform/core/Strings.h"

namespace platform {

bool isPropertyListValue(const Value& value) {
  switch (value.type()) {
    case Value::Type::Nil:
    case Value::Type::Object: return false;
    case Value::Type::String: return isValidUTF8(*value.string());
    case Value::Type::Array:
      for (const Value& item : *value.array()) {
        if (!isPropertyListValue(item)) return false;
      }
      return true;
    case Value::Type::Dictionary:
      for (const auto& [key, item] : *value.dictionary()) {
        if (!isValidUTF8(key) || !isPropertyListValue(item)) return false;
      }
      return true;
    default: return true;
  }
}

std::optional<std::string> serializeBinary(const Value& value) {
  std::string out;
  if (!plist::encodeBinary(value, out)) return std::nullopt;
  return out;
}

bool writePropertyListFile(const std::string& path, const Value& value) {
  // Saves of a large file follow one another; one buffer per thread keeps
  // each from growing a fresh one.
  static thread_local std::string buffer;
  bool encoded = plist::encodeXML(value, buffer) || plist::encodeBinary(value, buffer);
  bool written = encoded && writeFileAtomically(path, buffer);
  if (buffer.capacity() > (8u << 20)) std::string().swap(buffer);  // keep no huge buffer
  return written;
}

}  // namespace platform
