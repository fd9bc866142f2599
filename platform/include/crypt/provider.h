// Cryptographic provider contexts. The device has one provider, of type PROV_RSA_FULL, reached
// by default (no name) or by its name. It keeps no key containers: a container name is accepted
// and every context starts without keys of its own.
#pragma once

#include "base/types.h"

typedef ULONG_PTR HCRYPTPROV;

#define PROV_RSA_FULL 1

#define MS_ENHANCED_PROV_W u"Microsoft Enhanced Cryptographic Provider v1.0"
#define MS_ENHANCED_PROV MS_ENHANCED_PROV_W

#define CRYPT_VERIFYCONTEXT 0xF0000000u
#define CRYPT_NEWKEYSET 0x00000008u
#define CRYPT_SILENT 0x00000040u

// FALSE with NTE_PROV_TYPE_NOT_DEF for another type, NTE_KEYSET_NOT_DEF for an unknown provider
// name and NTE_BAD_FLAGS for flags other than the three above.
BOOL CryptAcquireContextW(HCRYPTPROV* phProv, LPCWSTR szContainer, LPCWSTR szProvider, DWORD dwProvType,
                          DWORD dwFlags);
// FALSE with NTE_BAD_UID for a handle that is not a live context.
BOOL CryptReleaseContext(HCRYPTPROV hProv, DWORD dwFlags);
