// The provider contexts and keys of this process, behind their handles.
#pragma once

#include <openssl/evp.h>

#include "handle_table.h"

namespace crypt_internal {

struct ProviderContext {};

// An imported RSA public key.
struct RsaKey {
  explicit RsaKey(EVP_PKEY* key) : pkey(key) {}
  ~RsaKey() { EVP_PKEY_free(pkey); }
  RsaKey(const RsaKey&) = delete;
  RsaKey& operator=(const RsaKey&) = delete;

  EVP_PKEY* pkey;
};

HandleTable<ProviderContext>& Providers();
HandleTable<RsaKey>& Keys();

}  // namespace crypt_internal
