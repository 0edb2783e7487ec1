// The process's standard streams as a terminal, for programs that behave
// differently when a person is at the keyboard (the settings host's prompt).
#pragma once

#include <cstddef>

namespace platform {

enum class StandardStream { Input, Output, Error };

// Whether the stream is connected to a terminal.
bool isTerminal(StandardStream stream);

// Whether the output terminal draws 24-bit colour: COLORTERM is "truecolor"
// or "24bit" and standard output is a terminal.
bool terminalHasTrueColor();

// Whether text written to the stream may be coloured: it is a terminal,
// TERM is not "dumb" and NO_COLOR is unset or empty.
bool terminalHasColor(StandardStream stream);

// The width in columns to lay text out for: the terminal's when standard
// output is one, else COLUMNS when that is a positive number, else 0 (no
// limit). Asked afresh on every call, so a resized window is seen.
std::size_t terminalColumns();

// Makes the C library read and write the terminal's characters as UTF-8
// (LC_CTYPE from the environment, C.UTF-8 when that names another encoding),
// as line editing needs. Call at start-up, before threads run.
void useUTF8Terminal();

}  // namespace platform
