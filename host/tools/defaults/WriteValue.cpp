#include "WriteValue.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>

#include "PlistDescription.h"
#include "platform/plist/PlistNumbers.h"
#include "platform/plist/TextPlist.h"

namespace defaults_tool {
namespace {

using platform::Value;

std::string shown(const std::string& token) { return "'" + plist_tools::visibleText(token) + "'"; }

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// The number readers allow blanks around the digits, as files have them; a
// command-line argument has none.
bool blankEdged(const std::string& text) {
  return text.empty() || std::isspace(static_cast<unsigned char>(text.front())) ||
         std::isspace(static_cast<unsigned char>(text.back()));
}

Value integer(const std::string& text) {
  auto value = platform::plist::parseIntegerText(text);
  if (!value || blankEdged(text)) throw ValueError(shown(text) + " is not an integer");
  return *value;
}

Value real(const std::string& text) {
  auto value = platform::plist::parseRealText(text);
  if (!value || blankEdged(text)) throw ValueError(shown(text) + " is not a number");
  return *value;
}

Value boolean(const std::string& text) {
  std::string word = lower(text);
  if (word == "yes" || word == "true" || word == "1") return true;
  if (word == "no" || word == "false" || word == "0") return false;
  throw ValueError(shown(text) + " is not a boolean (YES, NO, true, false, 1 or 0)");
}

Value date(const std::string& text) {
  auto value = platform::plist::parseDateText(text);
  if (!value || text.size() != 20) throw ValueError(shown(text) + " is not a date (YYYY-MM-DDTHH:MM:SSZ)");
  return *value;
}

Value data(const std::string& text) {
  auto digit = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
  if (text.size() % 2 != 0 || !std::all_of(text.begin(), text.end(), digit)) {
    throw ValueError(shown(text) + " is not data (an even number of hex digits)");
  }
  platform::Data bytes;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    bytes.push_back(static_cast<std::uint8_t>(std::stoul(text.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

Value string(const std::string& text) { return text; }

using Parser = Value (*)(const std::string&);

std::optional<Parser> scalarFlag(const std::string& token) {
  static const std::map<std::string, Parser, std::less<>> kFlags = {
      {"-string", string}, {"-int", integer},  {"-integer", integer}, {"-float", real},
      {"-bool", boolean},  {"-boolean", boolean}, {"-date", date},     {"-data", data}};
  auto found = kFlags.find(token);
  if (found == kFlags.end()) return std::nullopt;
  return found->second;
}

// A token that looks like a flag: a dash and a letter.
bool flagLike(const std::string& token) {
  return token.size() >= 2 && token[0] == '-' && std::isalpha(static_cast<unsigned char>(token[1]));
}

// A value without a type flag: old-style text when it starts like a
// container, data or a quoted string; a string otherwise.
Value untyped(const std::string& token) {
  std::size_t first = token.find_first_not_of(" \t\n");
  if (first == std::string::npos || std::string_view("({<\"").find(token[first]) == std::string_view::npos) {
    return token;
  }
  auto parsed = platform::parseTextPropertyList(token);
  if (!parsed) throw ValueError("Could not parse: " + shown(token) + ". Try single-quoting it.");
  return std::move(*parsed);
}

class Arguments {
 public:
  explicit Arguments(const std::vector<std::string>& args) : args_(args) {}
  bool done() const { return at_ == args_.size(); }
  const std::string& next() const { return args_[at_]; }
  const std::string& take(const std::string& after) {
    if (done()) throw ValueError(after + " needs a value");
    return args_[at_++];
  }

  // One item: a typed scalar or an untyped value.
  Value item(const char* inside) {
    const std::string& token = take(inside);
    if (auto parse = scalarFlag(token)) return (*parse)(take(token));
    if (token == "-array" || token == "-array-add" || token == "-dict" || token == "-dict-add") {
      throw ValueError(token + " cannot be nested; give nested arrays and dictionaries as old-style text, "
                               "e.g. '(a, b)' or '{k = v;}'");
    }
    if (flagLike(token)) throw ValueError("Unknown type flag " + shown(token));
    return untyped(token);
  }

 private:
  const std::vector<std::string>& args_;
  std::size_t at_ = 0;
};

}  // namespace

WriteValue parseWriteValue(const std::vector<std::string>& args) {
  if (args.empty()) throw ValueError("No value given");
  Arguments rest(args);
  WriteValue result;
  const std::string& first = args.front();
  if (first == "-array" || first == "-array-add") {
    rest.take(first);
    platform::Array items;
    while (!rest.done()) items.push_back(rest.item(first.c_str()));
    result.mode = first == "-array" ? WriteValue::Mode::Replace : WriteValue::Mode::AppendToArray;
    result.value = std::move(items);
  } else if (first == "-dict" || first == "-dict-add") {
    rest.take(first);
    platform::Dictionary entries;
    while (!rest.done()) {
      std::string key = rest.take(first);
      entries.set(key, rest.item((first + ": the key " + shown(key)).c_str()));
    }
    result.mode = first == "-dict" ? WriteValue::Mode::Replace : WriteValue::Mode::MergeIntoDictionary;
    result.value = std::move(entries);
  } else {
    result.value = rest.item("the key");
    if (!rest.done()) {
      throw ValueError("Unexpected argument " + shown(rest.next()) + "; leaving defaults unchanged.");
    }
  }
  return result;
}

}  // namespace defaults_tool
