#include "platform/os/Random.h"

#include <sys/random.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace platform {

void fillRandomBytes(std::span<std::uint8_t> bytes) {
  std::size_t have = 0;
  while (have < bytes.size()) {
    ssize_t n = ::getrandom(bytes.data() + have, bytes.size() - have, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw std::runtime_error(std::string("no random bytes from the system: ") + std::strerror(errno));
    }
    have += static_cast<std::size_t>(n);
  }
}

}  // namespace platform
