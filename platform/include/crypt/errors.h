// Error codes of the cryptographic provider and of the ASN.1 decoder, reported through the
// thread's last error.
#pragma once

#include "base/types.h"

#define NTE_BAD_UID (static_cast<HRESULT>(0x80090001u))
#define NTE_BAD_HASH (static_cast<HRESULT>(0x80090002u))
#define NTE_BAD_KEY (static_cast<HRESULT>(0x80090003u))
#define NTE_BAD_LEN (static_cast<HRESULT>(0x80090004u))
#define NTE_BAD_DATA (static_cast<HRESULT>(0x80090005u))
#define NTE_BAD_ALGID (static_cast<HRESULT>(0x80090008u))
#define NTE_BAD_FLAGS (static_cast<HRESULT>(0x80090009u))
#define NTE_NO_MEMORY (static_cast<HRESULT>(0x8009000Eu))
#define NTE_PROV_TYPE_NOT_DEF (static_cast<HRESULT>(0x80090017u))
#define NTE_KEYSET_NOT_DEF (static_cast<HRESULT>(0x80090019u))
#define NTE_FAIL (static_cast<HRESULT>(0x80090020u))

#define CRYPT_E_ASN1_EOD (static_cast<HRESULT>(0x80093102u))
#define CRYPT_E_ASN1_CORRUPT (static_cast<HRESULT>(0x80093103u))
#define CRYPT_E_ASN1_BADTAG (static_cast<HRESULT>(0x8009310Bu))
