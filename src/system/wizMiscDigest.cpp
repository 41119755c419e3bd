#include "system/wizMisc.h"

#include <wincrypt.h>
#include <string.h>

#include "fw/SystemLibrary.h"
#include "fw/UniqueHandle.h"

namespace {

const DWORD kSha256Size = 32;
const DWORD kReadChunk = 16 * 1024;

struct CryptHashTraits {
    using Handle = HCRYPTHASH;
    static Handle Invalid() { return 0; }
    static void Close(Handle h) { ::CryptDestroyHash(h); }
};

// Feeds the whole file into the hash; false when a read fails or the file does
// not hold exactly `size` bytes.
bool HashFileBytes(HANDLE file, HCRYPTHASH hash, DWORD size) {
    BYTE chunk[kReadChunk];
    DWORD total = 0;
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file, chunk, sizeof(chunk), &read, nullptr))
            return false;
        if (read == 0)
            return total == size;
        if (read > size - total || !::CryptHashData(hash, chunk, read, 0))
            return false;
        total += read;
    }
}

}  // namespace

bool DigestChecker::Matches(const char* path, DWORD size, const BYTE sha256[32]) {
    UniqueFile file(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER length;
    if (!file || !::GetFileSizeEx(file.Get(), &length) || length.QuadPart != static_cast<LONGLONG>(size))
        return false;
    // Acquiring a provider loads and initialises its library: once per checker.
    if (!provider_) {
        PreloadLibrariesFor(LibraryUse::Digests);
        if (!::CryptAcquireContextA(provider_.Receive(), nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT))
            return false;
    }
    UniqueHandle<CryptHashTraits> hash;
    if (!::CryptCreateHash(provider_.Get(), CALG_SHA_256, 0, 0, hash.Receive()) ||
        !HashFileBytes(file.Get(), hash.Get(), size))
        return false;
    BYTE digest[kSha256Size];
    DWORD digestSize = sizeof(digest);
    return ::CryptGetHashParam(hash.Get(), HP_HASHVAL, digest, &digestSize, 0) && digestSize == kSha256Size &&
           memcmp(digest, sha256, kSha256Size) == 0;
}
