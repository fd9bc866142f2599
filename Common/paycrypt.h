// Encryption of a password for the gateway: the gateway hands out an RSA public key ("rsaPK",
// Base64 of a DER SubjectPublicKeyInfo) and a time stamp ("rsaTS"); the client sends the
// password followed by the time stamp, as ANSI bytes encrypted in one PKCS #1 v1.5 block and
// Base64-encoded.
#pragma once

#include <atomic>

#include "base/types.h"
#include "crypt/provider.h"
#include "text/cstring.h"

namespace PayCrypt {

// The process-wide cryptographic provider. Its handle is 0 while none could be acquired; it is
// set once and kept until the process ends.
struct ProviderHolder {
  std::atomic<HCRYPTPROV> handle{0};
};

// The holder, created and its provider acquired on first use (from any thread).
ProviderHolder* GetProvider();

// Acquires the enhanced RSA provider into handle (creating the key set when needed). TRUE on
// success, else the last error code; callers test the handle.
DWORD AcquireProvider(HCRYPTPROV& handle);

// The Base64 encryption of plainText with the public key into out, most significant byte first
// when reverse is set (least significant first otherwise, as the provider writes it). On any
// failure out is empty and a log entry names the failing step: a key that does not decode or
// import, no provider, a plain text longer than the key takes (its length in bytes less 11),
// or a key longer than 2048 bits. The plain text never reaches the log.
CStringW& Encrypt(ProviderHolder* provider, CStringW& out, const WCHAR* plainText, const WCHAR* publicKey,
                  BOOL reverse);
inline CStringW Encrypt(ProviderHolder* provider, const WCHAR* plainText, const WCHAR* publicKey, BOOL reverse)
{
  CStringW out;
  Encrypt(provider, out, plainText, publicKey, reverse);
  return out;
}

}  // namespace PayCrypt
