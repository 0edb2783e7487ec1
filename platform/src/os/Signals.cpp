#include "platform/os/Signals.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
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

}  // namespace

void catchStopSignals(bool interruptReads) {
  struct sigaction action {};
  action.sa_handler = recordSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = interruptReads ? 0 : SA_RESTART;
  for (int number : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(number, &action, nullptr);
}

bool takeInterrupt() { return gInterrupted.exchange(false); }

StopSignal pendingTermination() {
  switch (gTermination.load()) {
    case SIGTERM: return StopSignal::Terminate;
    case SIGHUP: return StopSignal::HangUp;
    default: return StopSignal::None;
  }
}

void endBySignal(StopSignal signal) {
  int number = signal == StopSignal::HangUp ? SIGHUP : signal == StopSignal::Interrupt ? SIGINT : SIGTERM;
  ::signal(number, SIG_DFL);
  ::raise(number);
  std::_Exit(128 + number);
}

}  // namespace platform
