// The provider contexts and keys of this process. They live in the process's handle table, and
// only their own calls (CryptReleaseContext, CryptDestroyKey) close them.
#pragma once

#include <openssl/evp.h>

#include <memory>

#include "kernel/handle_table.h"

namespace crypt_internal {

struct ProviderContext : kernel::Object {
  bool ClosedByCloseHandle() const override { return false; }
};

// An imported RSA public key.
struct RsaKey : kernel::Object {
  explicit RsaKey(EVP_PKEY* key) : pkey(key) {}
  ~RsaKey() override { EVP_PKEY_free(pkey); }
  RsaKey(const RsaKey&) = delete;
  RsaKey& operator=(const RsaKey&) = delete;
  bool ClosedByCloseHandle() const override { return false; }

  EVP_PKEY* pkey;
};

// The object behind a handle when it is a T, else null.
template <class T>
std::shared_ptr<T> Find(ULONG_PTR handle) {
  return std::dynamic_pointer_cast<T>(kernel::LookupHandle(reinterpret_cast<HANDLE>(handle)));
}

// Adds an object to the handle table; 0 when the table is full.
inline ULONG_PTR Add(std::shared_ptr<kernel::Object> object) {
  return reinterpret_cast<ULONG_PTR>(kernel::InsertHandle(std::move(object)));
}

// Closes a handle when it names a T; false otherwise.
template <class T>
bool Remove(ULONG_PTR handle) {
  if (!Find<T>(handle)) return false;
  return kernel::RemoveHandle(reinterpret_cast<HANDLE>(handle)) != nullptr;
}

}  // namespace crypt_internal
