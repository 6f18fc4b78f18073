#include "casefile/file_digest.h"

#include "casefile/sha256.h"

namespace vorlanex::casefile {

std::string sha256_hex(std::string_view bytes) {
    const std::optional<Sha256> digest = sha256(bytes);
    if (!digest) return "(SHA-256 nelze spočítat)";
    constexpr std::string_view kHex = "0123456789abcdef";
    std::string hex;
    for (const unsigned char byte : *digest) {
        hex += kHex[byte >> 4];
        hex += kHex[byte & 0xf];
    }
    return hex;
}

}  // namespace vorlanex::casefile
