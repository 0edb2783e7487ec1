// Random bytes from the operating system's cryptographic source, for secrets
// such as the served settings host's access token.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace platform {

// Fills `bytes` from the kernel's random source (getrandom), waiting only
// while the source is not yet seeded at boot. Throws std::runtime_error when
// the source fails; it never falls back to weaker bytes.
void fillRandomBytes(std::span<std::uint8_t> bytes);

}  // namespace platform
