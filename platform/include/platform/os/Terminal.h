// The process's standard streams as a terminal, for programs that behave
// differently when a person is at the keyboard (the settings host's prompt).
#pragma once

namespace platform {

enum class StandardStream { Input, Output };

// Whether the stream is connected to a terminal.
bool isTerminal(StandardStream stream);

// Whether the output terminal draws 24-bit colour: COLORTERM is "truecolor"
// or "24bit" and standard output is a terminal.
bool terminalHasTrueColor();

}  // namespace platform
