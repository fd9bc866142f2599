// RSA public keys: import from a decoded public-key information, encryption with PKCS #1 v1.5
// padding, destruction.
#pragma once

#include "base/types.h"
#include "crypt/objectdecode.h"
#include "crypt/provider.h"

typedef ULONG_PTR HCRYPTKEY;
typedef ULONG_PTR HCRYPTHASH;
typedef UINT ALG_ID;

#define CALG_RSA_KEYX 0x0000A400u

// Imports an RSA public key (szOID_RSA_RSA) as a key-exchange key (aiKeyAlg 0 or CALG_RSA_KEYX).
// FALSE with NTE_BAD_UID for a dead provider, NTE_BAD_ALGID for another algorithm, NTE_BAD_DATA
// for key bytes that are not an RSA public key.
BOOL CryptImportPublicKeyInfoEx(HCRYPTPROV hCryptProv, DWORD dwCertEncodingType, PCERT_PUBLIC_KEY_INFO pInfo,
                                ALG_ID aiKeyAlg, DWORD dwFlags, void* pvAuxInfo, HCRYPTKEY* phKey);

// Encrypts *pdwDataLen bytes in place into one block of the key's length, written least
// significant byte first. A null pbData only asks for the block length (TRUE); a buffer shorter
// than the block (dwBufLen) fails with ERROR_MORE_DATA and the block length in *pdwDataLen;
// a plain text longer than the block less 11 bytes fails with NTE_BAD_LEN. Only a final block
// without hash or flags is accepted.
BOOL CryptEncrypt(HCRYPTKEY hKey, HCRYPTHASH hHash, BOOL Final, DWORD dwFlags, BYTE* pbData, DWORD* pdwDataLen,
                  DWORD dwBufLen);

// FALSE with NTE_BAD_KEY for a handle that is not a live key.
BOOL CryptDestroyKey(HCRYPTKEY hKey);
