#include "platform/os/Signals.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>

namespace platform {
namespace {

std::atomic<bool> gInterrupted{false};
std::atomic<int> gTermination{0};

void recordSignal(int number) {
  if (number == SIGINT) {
    gInterrupted = true;
  } else if (gTermination.load() == 0) {
    gTermination = number;
  }
}

sigset_t stopSignals() {
  sigset_t set;
  sigemptyset(&set);
  for (int number : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&set, number);
  return set;
}

// The descriptor input is read from. A terminal is read through a description
// of its own, opened non-blocking: a Ctrl-C discards the typed input as it
// raises SIGINT, so a byte that poll has just announced can be gone when it
// is read, and a blocking read would then wait with the interrupt held back.
// Standard input's own description is shared with the shell, so its flags
// are left alone.
int inputDescriptor() {
  static const int descriptor = [] {
    const char* terminal = ::isatty(STDIN_FILENO) ? ::ttyname(STDIN_FILENO) : nullptr;
    int own = terminal ? ::open(terminal, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC) : -1;
    return own >= 0 ? own : STDIN_FILENO;
  }();
  return descriptor;
}

}  // namespace

void catchStopSignals() {
  struct sigaction action {};
  action.sa_handler = recordSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int number : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(number, &action, nullptr);
}

InputRead readInputByte(unsigned char& byte) {
  sigset_t blocked = stopSignals(), waiting;
  ::pthread_sigmask(SIG_BLOCK, &blocked, &waiting);
  InputRead result = InputRead::End;
  while (true) {
    if (gInterrupted.load() || gTermination.load() != 0) {
      result = InputRead::Stopped;
      break;
    }
    // ppoll unblocks the signals only while it waits, and is never resumed
    // after one: a signal pending from before the wait ends it at once.
    struct pollfd input {inputDescriptor(), POLLIN, 0};
    if (::ppoll(&input, 1, nullptr, &waiting) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    ssize_t n = ::read(input.fd, &byte, 1);
    if (n == 1) {
      result = InputRead::Byte;
      break;
    }
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    break;
  }
  ::pthread_sigmask(SIG_SETMASK, &waiting, nullptr);
  return result;
}

void ignoreBrokenPipes() { ::signal(SIGPIPE, SIG_IGN); }

bool takeInterrupt() { return gInterrupted.exchange(false); }

StopSignal pendingTermination() {
  switch (gTermination.load()) {
    case SIGTERM: return StopSignal::Terminate;
    case SIGHUP: return StopSignal::HangUp;
    default: return StopSignal::None;
  }
}

void endBySignal(StopSignal signal) {
  int number = signal == StopSignal::HangUp ? SIGHUP : SIGTERM;
  ::signal(number, SIG_DFL);
  ::raise(number);
  std::_Exit(128 + number);
}

}  // namespace platform
