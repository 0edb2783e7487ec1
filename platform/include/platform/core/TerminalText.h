// Text on its way to a terminal: made harmless, and measured in columns.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// The text with everything a terminal would act on instead of showing made
// visible: C0 controls (tab, line break, carriage return and backspace as
// \t, \n, \r, \b, the others as \xHH), DEL (\x7f), C1 controls (\u{80} to
// \u{9f}), the bidirectional embeddings, overrides and isolates U+202A to
// U+202E and U+2066 to U+2069 (\u{202e}), and bytes that are not UTF-8
// (\xHH). Everything else is kept as it is. For printing only: what is
// stored keeps the original text.
std::string visibleText(std::string_view text);

// The columns a terminal gives the text: two for East Asian wide and
// fullwidth characters, none for combining marks, format characters and the
// terminal's own sequences (ESC [ ... final byte), one for everything else.
std::size_t displayColumns(std::string_view text);

// The columns of one code point, as displayColumns counts them.
std::size_t codePointColumns(char32_t c);

}  // namespace platform
