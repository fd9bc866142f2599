#include "crypt/objectdecode.h"

#include <cstring>
#include <vector>

#include "base/errors.h"
#include "base/lasterror.h"
#include "crypt/errors.h"
#include "der_reader.h"

using crypt_internal::DerElement;
using crypt_internal::DerError;
using crypt_internal::DerReader;

namespace {

BOOL Fail(HRESULT error) {
  SetLastError(static_cast<DWORD>(error));
  return FALSE;
}

HRESULT ToHresult(DerError error) {
  switch (error) {
    case DerError::kEndOfData:
      return CRYPT_E_ASN1_EOD;
    case DerError::kBadTag:
      return CRYPT_E_ASN1_BADTAG;
    default:
      return CRYPT_E_ASN1_CORRUPT;
  }
}

// The parts of a SubjectPublicKeyInfo:
//   SEQUENCE { SEQUENCE { OBJECT IDENTIFIER, parameters ANY OPTIONAL }, BIT STRING }
struct PublicKeyInfoParts {
  std::vector<char> objectId;  // dotted text with terminator
  DerElement parameters;       // encodingLength 0 when absent
  const uint8_t* keyBits = nullptr;
  size_t keyLength = 0;
  DWORD unusedBits = 0;
};

HRESULT ParsePublicKeyInfo(const uint8_t* data, size_t size, PublicKeyInfoParts& parts) {
  DerReader input(data, size);
  DerElement outer;
  DerError error = input.Read(outer, 0x30);
  if (error != DerError::kNone) return ToHresult(error);
  if (!input.AtEnd()) return CRYPT_E_ASN1_CORRUPT;

  DerReader fields(outer.content, outer.length);
  DerElement algorithm, bits;
  if ((error = fields.Read(algorithm, 0x30)) != DerError::kNone) return ToHresult(error);
  if ((error = fields.Read(bits, 0x03)) != DerError::kNone) return ToHresult(error);
  if (!fields.AtEnd()) return CRYPT_E_ASN1_CORRUPT;

  DerReader algorithmFields(algorithm.content, algorithm.length);
  DerElement oid;
  if ((error = algorithmFields.Read(oid, 0x06)) != DerError::kNone) return ToHresult(error);
  if (!algorithmFields.AtEnd() && (error = algorithmFields.Read(parts.parameters)) != DerError::kNone) {
    return ToHresult(error);
  }
  if (!algorithmFields.AtEnd()) return CRYPT_E_ASN1_CORRUPT;

  // Every content byte adds at most three digits and a dot; the first splits into two arcs.
  parts.objectId.resize(oid.length * 4 + 8);
  if (crypt_internal::FormatObjectIdentifier(oid.content, oid.length, parts.objectId.data(),
                                             parts.objectId.size()) == 0) {
    return CRYPT_E_ASN1_CORRUPT;
  }
  parts.objectId.resize(std::strlen(parts.objectId.data()) + 1);

  if (bits.length == 0 || bits.content[0] > 7 || (bits.length == 1 && bits.content[0] != 0)) {
    return CRYPT_E_ASN1_CORRUPT;
  }
  parts.unusedBits = bits.content[0];
  parts.keyBits = bits.content + 1;
  parts.keyLength = bits.length - 1;
  return S_OK;
}

}  // namespace

BOOL CryptDecodeObjectEx(DWORD dwCertEncodingType, LPCSTR lpszStructType, const BYTE* pbEncoded, DWORD cbEncoded,
                         DWORD dwFlags, PCRYPT_DECODE_PARA /*pDecodePara*/, void* pvStructInfo,
                         DWORD* pcbStructInfo) {
  if (pcbStructInfo == nullptr || (pbEncoded == nullptr && cbEncoded != 0)) return Fail(ERROR_INVALID_PARAMETER);
  if ((dwCertEncodingType & X509_ASN_ENCODING) == 0 || lpszStructType != X509_PUBLIC_KEY_INFO) {
    return Fail(ERROR_FILE_NOT_FOUND);
  }
  if ((dwFlags & ~CRYPT_DECODE_NOCOPY_FLAG) != 0) return Fail(E_INVALIDARG);

  PublicKeyInfoParts parts;
  const HRESULT parsed = ParsePublicKeyInfo(pbEncoded, cbEncoded, parts);
  if (parsed != S_OK) return Fail(parsed);

  const size_t needed =
      sizeof(CERT_PUBLIC_KEY_INFO) + parts.objectId.size() + parts.parameters.encodingLength + parts.keyLength;
  const DWORD room = *pcbStructInfo;
  *pcbStructInfo = static_cast<DWORD>(needed);
  if (pvStructInfo == nullptr) return TRUE;
  if (room < needed) return Fail(ERROR_MORE_DATA);

  // The structure first, then the texts and bytes it points to.
  BYTE* base = static_cast<BYTE*>(pvStructInfo);
  BYTE* next = base + sizeof(CERT_PUBLIC_KEY_INFO);
  auto place = [&next](const void* bytes, size_t length) {
    BYTE* at = next;
    if (length != 0) std::memcpy(at, bytes, length);
    next += length;
    return at;
  };
  CERT_PUBLIC_KEY_INFO info{};
  info.Algorithm.pszObjId = reinterpret_cast<LPSTR>(place(parts.objectId.data(), parts.objectId.size()));
  if (parts.parameters.encodingLength != 0) {
    info.Algorithm.Parameters.cbData = static_cast<DWORD>(parts.parameters.encodingLength);
    info.Algorithm.Parameters.pbData = place(parts.parameters.encoding, parts.parameters.encodingLength);
  }
  info.PublicKey.cbData = static_cast<DWORD>(parts.keyLength);
  info.PublicKey.pbData = parts.keyLength != 0 ? place(parts.keyBits, parts.keyLength) : nullptr;
  info.PublicKey.cUnusedBits = parts.unusedBits;
  std::memcpy(base, &info, sizeof info);
  return TRUE;
}
