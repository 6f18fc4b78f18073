#pragma once
// The SHA-256 of a file's bytes (OpenSSL's libcrypto), which a report names so that the case file
// it was made from can be told apart from any other.
#include <string>
#include <string_view>

namespace vorlanex::casefile {

// 64 lower-case hexadecimal digits.
std::string sha256_hex(std::string_view bytes);

}  // namespace vorlanex::casefile
