#include "crypt/provider.h"

#include "base/errors.h"
#include "base/lasterror.h"
#include "crypt/errors.h"
#include "crypt_objects.h"

namespace {

char16_t FoldAscii(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

// Provider names are looked up without regard to the case of ASCII letters.
bool IsOurProviderName(LPCWSTR name) {
  const char16_t* ours = MS_ENHANCED_PROV_W;
  for (;; ++name, ++ours) {
    if (FoldAscii(*name) != FoldAscii(*ours)) return false;
    if (*name == 0) return true;
  }
}

}  // namespace

BOOL CryptAcquireContextW(HCRYPTPROV* phProv, LPCWSTR /*szContainer*/, LPCWSTR szProvider, DWORD dwProvType,
                          DWORD dwFlags) {
  if (phProv == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (dwProvType != PROV_RSA_FULL) {
    SetLastError(static_cast<DWORD>(NTE_PROV_TYPE_NOT_DEF));
    return FALSE;
  }
  if (szProvider != nullptr && !IsOurProviderName(szProvider)) {
    SetLastError(static_cast<DWORD>(NTE_KEYSET_NOT_DEF));
    return FALSE;
  }
  if ((dwFlags & ~(CRYPT_VERIFYCONTEXT | CRYPT_NEWKEYSET | CRYPT_SILENT)) != 0) {
    SetLastError(static_cast<DWORD>(NTE_BAD_FLAGS));
    return FALSE;
  }
  const uintptr_t handle = crypt_internal::Add(std::make_shared<crypt_internal::ProviderContext>());
  if (handle == 0) {
    SetLastError(static_cast<DWORD>(NTE_NO_MEMORY));
    return FALSE;
  }
  *phProv = handle;
  return TRUE;
}

BOOL CryptReleaseContext(HCRYPTPROV hProv, DWORD dwFlags) {
  if (dwFlags != 0) {
    SetLastError(static_cast<DWORD>(NTE_BAD_FLAGS));
    return FALSE;
  }
  if (!crypt_internal::Remove<crypt_internal::ProviderContext>(hProv)) {
    SetLastError(static_cast<DWORD>(NTE_BAD_UID));
    return FALSE;
  }
  return TRUE;
}
