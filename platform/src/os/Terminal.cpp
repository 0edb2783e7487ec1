#include "platform/os/Terminal.h"

#include <langinfo.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <clocale>
#include <cstring>
#include <string>

#include "platform/os/Environment.h"

namespace platform {
namespace {

int descriptor(StandardStream stream) {
  switch (stream) {
    case StandardStream::Input: return STDIN_FILENO;
    case StandardStream::Output: return STDOUT_FILENO;
    case StandardStream::Error: return STDERR_FILENO;
  }
  return STDOUT_FILENO;
}

}  // namespace

bool isTerminal(StandardStream stream) { return ::isatty(descriptor(stream)) == 1; }

bool terminalHasTrueColor() {
  if (!isTerminal(StandardStream::Output)) return false;
  auto colorTerm = environment("COLORTERM");
  return colorTerm && (*colorTerm == "truecolor" || *colorTerm == "24bit");
}

bool terminalHasColor(StandardStream stream) {
  if (!isTerminal(stream)) return false;
  auto noColor = environment("NO_COLOR");
  if (noColor && !noColor->empty()) return false;
  return environment("TERM").value_or("") != "dumb";
}

std::size_t terminalColumns() {
  struct winsize size {};
  if (isTerminal(StandardStream::Output) && ::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
    return size.ws_col;
  std::string columns = environment("COLUMNS").value_or("");
  if (columns.empty() || columns.size() > 6 || columns.find_first_not_of("0123456789") != std::string::npos) return 0;
  return static_cast<std::size_t>(std::stoul(columns));
}

void useUTF8Terminal() {
  if (std::setlocale(LC_CTYPE, "") && std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0) return;
  std::setlocale(LC_CTYPE, "C.UTF-8");
}

}  // namespace platform
