// The device's password encryption, written independently with OpenSSL, so tests can send
// what the client would send.
#pragma once

#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/rsa.h>
#include <openssl/x509.h>

#include <algorithm>
#include <memory>
#include <string>

namespace testgateway::testing {

inline std::string base64(const std::string& bytes) {
  std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
  int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                          reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
  out.resize(static_cast<std::size_t>(n));
  return out;
}

inline std::string unbase64(const std::string& text) {
  std::string out(text.size(), '\0');
  int n = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                          reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
  out.resize(static_cast<std::size_t>(std::max(n, 0)));
  return out;
}

// The device's steps: import "rsaPK" as a SubjectPublicKeyInfo, PKCS#1 v1.5 encrypt the
// ANSI bytes of the text, take the result least significant byte first (as the platform's
// crypto API returns it), reverse it when asked, Base64.
inline std::string encryptAsTheDevice(const std::string& publicKeyText, const std::string& ansiText, bool reverse) {
  std::string der = unbase64(publicKeyText);
  const auto* p = reinterpret_cast<const unsigned char*>(der.data());
  std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(d2i_PUBKEY(nullptr, &p, static_cast<long>(der.size())),
                                                          EVP_PKEY_free);
  EXPECT_TRUE(key);
  if (!key) return {};
  EVP_PKEY_CTX* context = EVP_PKEY_CTX_new(key.get(), nullptr);
  EVP_PKEY_encrypt_init(context);
  EVP_PKEY_CTX_set_rsa_padding(context, RSA_PKCS1_PADDING);
  std::size_t length = 0;
  const auto* in = reinterpret_cast<const unsigned char*>(ansiText.data());
  EVP_PKEY_encrypt(context, nullptr, &length, in, ansiText.size());
  std::string cipher(length, '\0');
  EVP_PKEY_encrypt(context, reinterpret_cast<unsigned char*>(cipher.data()), &length, in, ansiText.size());
  EVP_PKEY_CTX_free(context);
  cipher.resize(length);
  std::string apiOrder(cipher.rbegin(), cipher.rend());  // least significant byte first
  if (reverse) std::reverse(apiOrder.begin(), apiOrder.end());
  return base64(apiOrder);
}

}  // namespace testgateway::testing
