// The value part of `defaults write DOMAIN KEY ...`, as that tool takes it:
//
//   VALUE                 a string, or old-style text when it starts with
//                         ( { < or " (an array, dictionary, data or quoted
//                         string: '(a, b)', '{k = v;}', '<0fa1>')
//   -string S | -int[eger] N | -float F | -bool[ean] B | -date D | -data HEX
//   -array ITEM...  -array-add ITEM...
//   -dict KEY ITEM...  -dict-add KEY ITEM...
//
// An ITEM is a VALUE or a typed scalar (-int 3). Integers are decimal or 0x
// hex, 64-bit signed or unsigned; booleans YES, NO, true, false, 1 or 0 in
// any case; dates YYYY-MM-DDTHH:MM:SSZ; data an even number of hex digits.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/core/Value.h"

namespace defaults_tool {

struct WriteValue {
  enum class Mode { Replace, AppendToArray, MergeIntoDictionary };
  Mode mode = Mode::Replace;
  // For the append and merge modes: the items or entries to add.
  platform::Value value;
};

// A value the command line gives wrongly; what() says what and where.
struct ValueError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Parses the arguments after the key; throws ValueError.
WriteValue parseWriteValue(const std::vector<std::string>& args);

}  // namespace defaults_tool
