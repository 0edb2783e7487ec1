// The old-style (OpenStep/NeXT) text property-list format, in which string
// tables (".strings") and some filter plists are written:
//
//   { key = value; "quoted key" = ( a, "b", <0fa1 22> ); }
//
// Values are strings (quoted with "..." or '...', or unquoted runs of
// [A-Za-z0-9_$/:.-]), arrays "( a, b, )", dictionaries "{ k = v; }", and data
// "<hex digits>". A dictionary entry "k;" means "k = k;". Quoted strings take
// the escapes \a \b \f \n \r \t \v \" \' \\, octal \OOO (one to three digits,
// the code point of that value) and \Uxxxx or \uxxxx (one to four hex
// digits; a surrogate pair given as two escapes makes one character). Any other escaped
// character stands for itself. Comments are "// ..." and "/* ... */".
//
// A string table's top level is a dictionary without the outer braces
// ("key" = "value"; ...); such input, and input holding only blanks and
// comments, parses as a dictionary. An unterminated "/*" comment is malformed.
//
// Input is UTF-8 (an optional byte-order mark is skipped) or UTF-16 with a
// byte-order mark (little or big endian). Anything malformed — bad encoding,
// an unpaired surrogate, a syntax error, trailing garbage, input over the size
// limit, nesting over the depth limit — parses as nothing. The parser never
// recurses deeper than the depth limit and never reads out of bounds.
#pragma once

#include <optional>
#include <string_view>

#include "platform/plist/PropertyList.h"
#include "platform/core/Value.h"

namespace platform {

std::optional<Value> parseTextPropertyList(std::string_view bytes, const PropertyListLimits& limits = {});

}  // namespace platform
