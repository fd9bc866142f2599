// RSA key pairs made with OpenSSL for the tests, and their public halves in the forms a gateway
// hands out.
#pragma once

#include <openssl/evp.h>
#include <openssl/rsa.h>
#include <openssl/x509.h>

#include <memory>
#include <string>
#include <vector>

namespace crypt_test {

struct PkeyFree {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
using Pkey = std::unique_ptr<EVP_PKEY, PkeyFree>;

inline Pkey GenerateRsaKey(unsigned bits) { return Pkey(EVP_RSA_gen(bits)); }

// The DER SubjectPublicKeyInfo of the key's public half.
inline std::vector<unsigned char> PublicKeyInfoDer(EVP_PKEY* key) {
  unsigned char* der = nullptr;
  const int length = i2d_PUBKEY(key, &der);
  std::vector<unsigned char> bytes(der, der + (length > 0 ? length : 0));
  OPENSSL_free(der);
  return bytes;
}

// Decrypts one PKCS #1 v1.5 block given most significant byte first; false when it does not
// decrypt.
inline bool DecryptPkcs1(EVP_PKEY* key, const std::vector<unsigned char>& cipher, std::string& plain) {
  EVP_PKEY_CTX* context = EVP_PKEY_CTX_new(key, nullptr);
  size_t length = 0;
  bool ok = context != nullptr && EVP_PKEY_decrypt_init(context) == 1 &&
            EVP_PKEY_CTX_set_rsa_padding(context, RSA_PKCS1_PADDING) == 1 &&
            EVP_PKEY_decrypt(context, nullptr, &length, cipher.data(), cipher.size()) == 1;
  std::vector<unsigned char> out(length);
  ok = ok && EVP_PKEY_decrypt(context, out.data(), &length, cipher.data(), cipher.size()) == 1;
  EVP_PKEY_CTX_free(context);
  plain.assign(out.begin(), out.begin() + (ok ? length : 0));
  return ok;
}

}  // namespace crypt_test
