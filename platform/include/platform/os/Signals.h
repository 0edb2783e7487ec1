// The signals that ask a program to stop or to drop what it is doing
// (SIGINT, SIGTERM, SIGHUP), turned into flags the program polls: the
// settings host cancels a typed line on an interrupt and ends cleanly, after
// the command in hand, on a termination.
#pragma once

namespace platform {

enum class StopSignal { None, Interrupt, Terminate, HangUp };

// Installs the handlers (once; later calls only change the mode). While
// `interruptReads` is set, a blocking read that a signal arrives in fails
// with EINTR, so a prompt or a stream reader returns at once; otherwise it
// is resumed, so output being written is never cut short.
void catchStopSignals(bool interruptReads);

// Whether an interrupt arrived since the last call; clears it.
bool takeInterrupt();

// The termination signal (Terminate or HangUp) that arrived, if any. It
// stays set.
StopSignal pendingTermination();

// Ends the process by the termination signal that arrived, with the
// signal's default action, so the parent sees how it ended.
[[noreturn]] void endBySignal(StopSignal signal);

}  // namespace platform
