#include "platform/os/Terminal.h"

#include <unistd.h>

#include "platform/os/Environment.h"

namespace platform {

bool isTerminal(StandardStream stream) {
  return ::isatty(stream == StandardStream::Input ? STDIN_FILENO : STDOUT_FILENO) == 1;
}

bool terminalHasTrueColor() {
  if (!isTerminal(StandardStream::Output)) return false;
  auto colorTerm = environment("COLORTERM");
  return colorTerm && (*colorTerm == "truecolor" || *colorTerm == "24bit");
}

}  // namespace platform
