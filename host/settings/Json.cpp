#include "Json.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace settings_host {
namespace {

std::string base64(const platform::Data& data) {
  static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (std::size_t i = 0; i < data.size(); i += 3) {
    unsigned n = data[i] << 16;
    if (i + 1 < data.size()) n |= data[i + 1] << 8;
    if (i + 2 < data.size()) n |= data[i + 2];
    out += kDigits[(n >> 18) & 63];
    out += kDigits[(n >> 12) & 63];
    out += i + 1 < data.size() ? kDigits[(n >> 6) & 63] : '=';
    out += i + 2 < data.size() ? kDigits[n & 63] : '=';
  }
  return out;
}

std::string jsonNumber(double d) {
  if (!std::isfinite(d)) return "null";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.17g", d);
  std::string s = buf;
  // Shortest form that reads back the same.
  for (int precision = 1; precision < 17; ++precision) {
    std::snprintf(buf, sizeof buf, "%.*g", precision, d);
    if (std::strtod(buf, nullptr) == d) {
      s = buf;
      break;
    }
  }
  return s;
}

}  // namespace

std::string jsonString(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned char>(c));
          out += buf;
        } else {
          out += c;
        }
    }
  }
  out += '"';
  return out;
}

std::string jsonValue(const platform::Value& value) {
  using T = platform::Value::Type;
  switch (value.type()) {
    case T::Nil:
    case T::Object:
      return "null";
    case T::Boolean:
      return *value.boolean() ? "true" : "false";
    case T::Integer:
      return value.isUnsignedBig() ? std::to_string(static_cast<std::uint64_t>(value.int64Value()))
                                   : std::to_string(value.int64Value());
    case T::Real:
      return jsonNumber(value.doubleValue());
    case T::Date:
      return jsonNumber(value.date()->seconds);
    case T::String:
      return jsonString(*value.string());
    case T::Data:
      return jsonString(base64(*value.data()));
    case T::Array: {
      std::string out = "[";
      for (const auto& item : *value.array()) {
        if (out.size() > 1) out += ", ";
        out += jsonValue(item);
      }
      return out + "]";
    }
    case T::Dictionary: {
      std::string out = "{";
      for (const auto& [key, item] : *value.dictionary()) {
        if (out.size() > 1) out += ", ";
        out += jsonString(key) + ": " + jsonValue(item);
      }
      return out + "}";
    }
  }
  return "null";
}

}  // namespace settings_host
