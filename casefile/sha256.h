#pragma once
// The SHA-256 digest itself, computed by the platform's own cryptography (OpenSSL's libcrypto on
// Linux, CNG on Windows); file_digest.h writes it out.
#include <array>
#include <optional>
#include <string_view>

namespace vorlanex::casefile {

using Sha256 = std::array<unsigned char, 32>;

// The digest of `bytes`; nothing when the platform's library fails.
std::optional<Sha256> sha256(std::string_view bytes);

}  // namespace vorlanex::casefile
