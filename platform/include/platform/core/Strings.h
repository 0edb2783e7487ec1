// Foundation's string operations on UTF-8 std::string, with Unicode semantics
// from ICU. Where Foundation counts UTF-16 code units (length,
// substringToIndex:), so do these.
//
// Text that is not valid UTF-8 is not expected (check with isValidUTF8 where
// it comes from outside); given it anyway, each ill-formed byte counts as one
// unit and is kept as it is by trimWhitespace and substringToUTF16Index, and
// becomes U+FFFD in uppercaseString.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// stringByTrimmingCharactersInSet: with whitespaceCharacterSet: removes
// leading and trailing characters of general category Zs (space, no-break
// space, ideographic space, ...) and U+0009 tab. Line breaks are kept.
std::string trimWhitespace(std::string_view s);

// uppercaseString: full Unicode upper-casing in the root locale ("ß" → "SS").
std::string uppercaseString(std::string_view s);

// Full Unicode case folding ("Straße" → "strasse"), for comparing text
// regardless of letter case as caseInsensitiveCompare: does.
std::string foldCase(std::string_view s);

// length: the number of UTF-16 code units.
std::size_t utf16Length(std::string_view s);

// substringToIndex: the longest prefix of at most n UTF-16 code units that
// does not split a surrogate pair (a pair that would be cut is left out
// whole). The whole string when it is no longer than n.
std::string substringToUTF16Index(std::string_view s, std::size_t n);

// Appends the UTF-8 form of a code point (which the caller has checked is a
// Unicode scalar value).
void appendUTF8(std::string& out, char32_t codePoint);

// Well-formed UTF-8: no stray or overlong sequences, no surrogates, nothing
// above U+10FFFF.
bool isValidUTF8(std::string_view s);

}  // namespace platform
