#include "CoreFoundation/CFBridge.h"

#include "CFObjects.h"
#include "platform/core/Strings.h"

namespace platform {

CFTypeRef createCFObject(const Value& value) {
  switch (value.type()) {
    case Value::Type::String:
      return platform::isValidUTF8(*value.string()) ? new __CFString(*value.string()) : nullptr;
    case Value::Type::Integer:
    case Value::Type::Real:
      return new __CFNumber(value);
    case Value::Type::Boolean:
      return *value.boolean() ? kCFBooleanTrue : kCFBooleanFalse;
    case Value::Type::Data:
      return new __CFData(*value.data());
    case Value::Type::Date:
      return new __CFDate(value.date()->seconds);
    case Value::Type::Array: {
      auto* a = new __CFArray();
      for (const Value& v : *value.array()) {
        CFTypeRef element = createCFObject(v);
        if (!element) {
          CFRelease(a);
          return nullptr;
        }
        a->values.push_back(element);
      }
      return a;
    }
    case Value::Type::Dictionary: {
      auto* d = new __CFDictionary();
      for (const auto& [k, v] : *value.dictionary()) {
        CFTypeRef element = platform::isValidUTF8(k) ? createCFObject(v) : nullptr;
        if (!element) {
          CFRelease(d);
          return nullptr;
        }
        d->entries.emplace_back(k, element);
      }
      return d;
    }
    default:
      return nullptr;
  }
}

Value valueOfCFObject(CFTypeRef object) {
  if (!object) return {};
  switch (CFGetTypeID(object)) {
    case kCFStringTypeID: return static_cast<const __CFString*>(cfObject(object))->utf8;
    case kCFNumberTypeID: return static_cast<const __CFNumber*>(cfObject(object))->value;
    case kCFBooleanTypeID: return static_cast<const __CFBoolean*>(cfObject(object))->value;
    case kCFDataTypeID: return static_cast<const __CFData*>(cfObject(object))->bytes;
    case kCFDateTypeID: return Date{static_cast<const __CFDate*>(cfObject(object))->time};
    case kCFArrayTypeID: {
      Array out;
      for (CFTypeRef v : static_cast<const __CFArray*>(cfObject(object))->values) {
        Value element = valueOfCFObject(v);
        if (element.isNil()) return {};
        out.push_back(std::move(element));
      }
      return out;
    }
    case kCFDictionaryTypeID: {
      Dictionary out;
      for (auto& [k, v] : static_cast<const __CFDictionary*>(cfObject(object))->entries) {
        Value element = valueOfCFObject(v);
        if (element.isNil()) return {};
        out.set(k, std::move(element));
      }
      return out;
    }
    default:
      return {};
  }
}

std::optional<std::string> stringOfCF(CFTypeRef object) {
  if (auto s = cfCast<__CFString>(object, kCFStringTypeID)) return std::string(s->utf8);
  return std::nullopt;
}

}  // namespace platform
