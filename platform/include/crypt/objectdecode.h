// Decoding of ASN.1 DER structures: the public-key information of an X.509 certificate
// (SubjectPublicKeyInfo).
#pragma once

#include "base/types.h"

#define X509_ASN_ENCODING 0x00000001u
#define PKCS_7_ASN_ENCODING 0x00010000u

#define X509_PUBLIC_KEY_INFO (reinterpret_cast<LPCSTR>(static_cast<uintptr_t>(8)))

#define CRYPT_DECODE_NOCOPY_FLAG 0x1u

#define szOID_RSA_RSA "1.2.840.113549.1.1.1"

struct CRYPTOAPI_BLOB {
  DWORD cbData;
  BYTE* pbData;
};
typedef CRYPTOAPI_BLOB CRYPT_OBJID_BLOB;
typedef CRYPTOAPI_BLOB CRYPT_DATA_BLOB;

struct CRYPT_ALGORITHM_IDENTIFIER {
  LPSTR pszObjId;                // dotted object identifier, e.g. szOID_RSA_RSA
  CRYPT_OBJID_BLOB Parameters;   // the parameters' DER encoding; empty when absent
};

struct CRYPT_BIT_BLOB {
  DWORD cbData;
  BYTE* pbData;
  DWORD cUnusedBits;
};

struct CERT_PUBLIC_KEY_INFO {
  CRYPT_ALGORITHM_IDENTIFIER Algorithm;
  CRYPT_BIT_BLOB PublicKey;
};
typedef CERT_PUBLIC_KEY_INFO* PCERT_PUBLIC_KEY_INFO;

struct CRYPT_DECODE_PARA;
typedef CRYPT_DECODE_PARA* PCRYPT_DECODE_PARA;

// Decodes X509_PUBLIC_KEY_INFO into pvStructInfo: the structure first, the texts and bytes it
// points to after it, all inside the caller's buffer (which must be aligned for the structure).
// Size protocol: *pcbStructInfo is the buffer size on entry and the size needed on return; a
// null pvStructInfo only asks for the size (TRUE); a smaller buffer fails with ERROR_MORE_DATA.
// Malformed input fails with CRYPT_E_ASN1_EOD, CRYPT_E_ASN1_CORRUPT or CRYPT_E_ASN1_BADTAG; an
// unknown structure type or encoding with ERROR_FILE_NOT_FOUND.
BOOL CryptDecodeObjectEx(DWORD dwCertEncodingType, LPCSTR lpszStructType, const BYTE* pbEncoded, DWORD cbEncoded,
                         DWORD dwFlags, PCRYPT_DECODE_PARA pDecodePara, void* pvStructInfo,
                         DWORD* pcbStructInfo);
