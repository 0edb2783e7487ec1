// The signals that ask a program to stop or to drop what it is doing
// (SIGINT, SIGTERM, SIGHUP), turned into flags the program polls: the
// settings host cancels a typed line on an interrupt and ends cleanly, after
// the command in hand, on a termination.
#pragma once

namespace platform {

enum class StopSignal { None, Interrupt, Terminate, HangUp };

// Installs the handlers. Interrupted system calls are resumed, so output
// being written is never cut short; readInputByte is what a signal stops.
void catchStopSignals();

enum class InputRead { Byte, End, Stopped };

// Reads one byte of standard input, waiting as long as it takes, unless a
// stop signal is pending (an interrupt not yet taken, or a termination):
// then, or when one arrives during the wait, it returns Stopped at once.
// There is no window in which a signal is missed: the signals stay blocked
// until the wait begins. End at the end of input or on a read error.
InputRead readInputByte(unsigned char& byte);

// Makes a write to a connection or pipe whose reader has gone fail with EPIPE
// instead of ending the process (SIGPIPE ignored), for programs that serve
// clients who may leave at any time.
void ignoreBrokenPipes();

// Whether an interrupt arrived since the last call; clears it.
bool takeInterrupt();

// The termination signal (Terminate or HangUp) that arrived, if any. It
// stays set.
StopSignal pendingTermination();

// Ends the process by a termination signal (Terminate or HangUp), with the
// signal's default action, so the parent sees how it ended.
[[noreturn]] void endBySignal(StopSignal signal);

}  // namespace platform
