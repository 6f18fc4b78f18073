#include <windows.h>

#include <bcrypt.h>

#include <algorithm>
#include <limits>

#include "casefile/sha256.h"

namespace vorlanex::casefile {

namespace {

bool succeeded(NTSTATUS status) { return status >= 0; }

// A CNG algorithm provider or hash object, closed when it goes.
struct Provider {
    BCRYPT_ALG_HANDLE handle = nullptr;
    ~Provider() {
        if (handle) BCryptCloseAlgorithmProvider(handle, 0);
    }
};
struct Hash {
    BCRYPT_HASH_HANDLE handle = nullptr;
    ~Hash() {
        if (handle) BCryptDestroyHash(handle);
    }
};

}  // namespace

std::optional<Sha256> sha256(std::string_view bytes) {
    Provider provider;
    Hash hash;
    if (!succeeded(BCryptOpenAlgorithmProvider(&provider.handle, BCRYPT_SHA256_ALGORITHM, nullptr, 0)) ||
        !succeeded(BCryptCreateHash(provider.handle, &hash.handle, nullptr, 0, nullptr, 0, 0))) {
        return std::nullopt;
    }
    // BCryptHashData takes at most 4 GiB at a time.
    auto* data = reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data()));
    for (std::size_t done = 0; done < bytes.size();) {
        const std::size_t part = std::min<std::size_t>(bytes.size() - done, std::numeric_limits<ULONG>::max());
        if (!succeeded(BCryptHashData(hash.handle, data + done, static_cast<ULONG>(part), 0))) return std::nullopt;
        done += part;
    }
    Sha256 digest{};
    if (!succeeded(BCryptFinishHash(hash.handle, digest.data(), static_cast<ULONG>(digest.size()), 0))) {
        return std::nullopt;
    }
    return digest;
}

}  // namespace vorlanex::casefile
