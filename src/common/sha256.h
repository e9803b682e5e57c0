#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

// The SHA-256 digest of `bytes` as 64 lower-case hexadecimal digits.
std::string Sha256Hex(const std::vector<std::uint8_t>& bytes);

} // namespace velmora
