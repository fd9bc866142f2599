#include "crypt/key.h"

#include <openssl/crypto.h>
#include <openssl/rsa.h>
#include <openssl/x509.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/errors.h"
#include "base/lasterror.h"
#include "crypt/errors.h"
#include "crypt_objects.h"

using crypt_internal::ProviderContext;
using crypt_internal::RsaKey;

namespace {

constexpr size_t kPkcs1Overhead = 11;

BOOL Fail(HRESULT error) {
  SetLastError(static_cast<DWORD>(error));
  return FALSE;
}

// A byte buffer that is wiped before it is freed: it holds plain text or its encryption.
class SecretBuffer {
 public:
  explicit SecretBuffer(size_t size) : bytes_(size) {}
  ~SecretBuffer() { OPENSSL_cleanse(bytes_.data(), bytes_.size()); }
  SecretBuffer(const SecretBuffer&) = delete;
  SecretBuffer& operator=(const SecretBuffer&) = delete;
  unsigned char* data() { return bytes_.data(); }

 private:
  std::vector<unsigned char> bytes_;
};

}  // namespace

BOOL CryptImportPublicKeyInfoEx(HCRYPTPROV hCryptProv, DWORD dwCertEncodingType, PCERT_PUBLIC_KEY_INFO pInfo,
                                ALG_ID aiKeyAlg, DWORD dwFlags, void* pvAuxInfo, HCRYPTKEY* phKey) {
  if (pInfo == nullptr || phKey == nullptr || pInfo->Algorithm.pszObjId == nullptr) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  if (!crypt_internal::Find<ProviderContext>(hCryptProv)) return Fail(NTE_BAD_UID);
  if ((dwCertEncodingType & X509_ASN_ENCODING) == 0) return Fail(ERROR_FILE_NOT_FOUND);
  if (dwFlags != 0 || pvAuxInfo != nullptr) return Fail(E_INVALIDARG);
  if (std::strcmp(pInfo->Algorithm.pszObjId, szOID_RSA_RSA) != 0) return Fail(NTE_BAD_ALGID);
  if (aiKeyAlg != 0 && aiKeyAlg != CALG_RSA_KEYX) return Fail(NTE_BAD_ALGID);

  // The bit string holds an RSAPublicKey: SEQUENCE { modulus INTEGER, publicExponent INTEGER }.
  const CRYPT_BIT_BLOB& bits = pInfo->PublicKey;
  if (bits.cUnusedBits != 0 || bits.pbData == nullptr || bits.cbData == 0) return Fail(NTE_BAD_DATA);
  const unsigned char* p = bits.pbData;
  EVP_PKEY* pkey = d2i_PublicKey(EVP_PKEY_RSA, nullptr, &p, static_cast<long>(bits.cbData));
  if (pkey == nullptr || p != bits.pbData + bits.cbData) {
    EVP_PKEY_free(pkey);
    return Fail(NTE_BAD_DATA);
  }
  const ULONG_PTR handle = crypt_internal::Add(std::make_shared<RsaKey>(pkey));
  if (handle == 0) return Fail(NTE_NO_MEMORY);
  *phKey = handle;
  return TRUE;
}

BOOL CryptEncrypt(HCRYPTKEY hKey, HCRYPTHASH hHash, BOOL Final, DWORD dwFlags, BYTE* pbData, DWORD* pdwDataLen,
                  DWORD dwBufLen) {
  const std::shared_ptr<RsaKey> key = crypt_internal::Find<RsaKey>(hKey);
  if (!key) return Fail(NTE_BAD_KEY);
  if (hHash != 0) return Fail(NTE_BAD_HASH);
  if (dwFlags != 0) return Fail(NTE_BAD_FLAGS);
  if (!Final) return Fail(NTE_BAD_DATA);
  if (pdwDataLen == nullptr) return Fail(ERROR_INVALID_PARAMETER);

  const size_t blockLength = static_cast<size_t>(EVP_PKEY_get_size(key->pkey));
  const size_t plainLength = *pdwDataLen;
  if (plainLength + kPkcs1Overhead > blockLength) return Fail(NTE_BAD_LEN);
  if (pbData == nullptr) {
    *pdwDataLen = static_cast<DWORD>(blockLength);
    return TRUE;
  }
  if (dwBufLen < blockLength) {
    *pdwDataLen = static_cast<DWORD>(blockLength);
    return Fail(ERROR_MORE_DATA);
  }

  SecretBuffer cipher(blockLength);
  size_t cipherLength = blockLength;
  EVP_PKEY_CTX* context = EVP_PKEY_CTX_new(key->pkey, nullptr);
  const bool encrypted = context != nullptr && EVP_PKEY_encrypt_init(context) == 1 &&
                         EVP_PKEY_CTX_set_rsa_padding(context, RSA_PKCS1_PADDING) == 1 &&
                         EVP_PKEY_encrypt(context, cipher.data(), &cipherLength, pbData, plainLength) == 1 &&
                         cipherLength == blockLength;
  EVP_PKEY_CTX_free(context);
  if (!encrypted) return Fail(NTE_FAIL);

  // The provider gives the number least significant byte first.
  std::reverse_copy(cipher.data(), cipher.data() + blockLength, pbData);
  *pdwDataLen = static_cast<DWORD>(blockLength);
  return TRUE;
}

BOOL CryptDestroyKey(HCRYPTKEY hKey) {
  if (!crypt_internal::Remove<RsaKey>(hKey)) return Fail(NTE_BAD_KEY);
  return TRUE;
}
