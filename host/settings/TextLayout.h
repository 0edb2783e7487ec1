// Laying the host's text out for the terminal: lines broken at spaces to fit
// its width, measured in columns (wide characters count two), with the
// terminal's colour sequences taking no room.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace settings_host {

// One paragraph (text without line breaks) in lines of at most `width`
// columns; `width` 0 means no limit (one line, as it is). Lines break after
// spaces and between CJK characters (where Unicode's line-breaking rules
// allow it: never before "，" or "。"); the spaces at a break are dropped and
// every line after the first starts with `indent` spaces (none when the
// width leaves fewer than 20 columns beside the indent). A word longer than
// a line is split between characters, never inside a colour sequence; a
// character wider than the whole line gets a line of its own. Spaces inside
// a line, leading ones included, are kept.
std::vector<std::string> wrapText(std::string_view text, std::size_t width, std::size_t indent);

// The paragraph wrapped as above, each line ended by "\n".
std::string wrapped(std::string_view text, std::size_t width, std::size_t indent);

}  // namespace settings_host
