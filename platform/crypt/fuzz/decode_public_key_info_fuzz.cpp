// Public-key information from the gateway: decode it, and import what decodes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "crypt/crypt.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DWORD needed = 0;
  if (!CryptDecodeObjectEx(X509_ASN_ENCODING, X509_PUBLIC_KEY_INFO, data, static_cast<DWORD>(size), 0, nullptr,
                           nullptr, &needed)) {
    return 0;
  }
  std::vector<uint64_t> buffer((needed + 7) / 8);
  DWORD room = needed;
  if (!CryptDecodeObjectEx(X509_ASN_ENCODING, X509_PUBLIC_KEY_INFO, data, static_cast<DWORD>(size), 0, nullptr,
                           buffer.data(), &room)) {
    __builtin_trap();  // the size query and the decode disagree
  }
  static HCRYPTPROV provider = [] {
    HCRYPTPROV handle = 0;
    CryptAcquireContextW(&handle, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT);
    return handle;
  }();
  HCRYPTKEY key = 0;
  if (CryptImportPublicKeyInfoEx(provider, X509_ASN_ENCODING, reinterpret_cast<PCERT_PUBLIC_KEY_INFO>(buffer.data()),
                                 CALG_RSA_KEYX, 0, nullptr, &key)) {
    BYTE block[1024] = {'p', 'w'};
    DWORD length = 2;
    CryptEncrypt(key, 0, TRUE, 0, block, &length, sizeof block);
    CryptDestroyKey(key);
  }
  return 0;
}
