#include "testgateway/gateway_key.h"

#include <openssl/bio.h>
#include <openssl/crypto.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>
#include <openssl/x509.h>

#include <chrono>
#include <stdexcept>

#include "text_codec.h"

namespace testgateway {

struct GatewayKey::Pair {
  EVP_PKEY* key = nullptr;
  std::string publicKeyText;
  ~Pair() { EVP_PKEY_free(key); }
};

GatewayKey::GatewayKey(int bits) : bits_(bits) {}

GatewayKey::~GatewayKey() = default;

GatewayKey::Pair& GatewayKey::pair() {
  if (pair_) return *pair_;
  auto created = std::make_unique<Pair>();
  created->key = EVP_RSA_gen(static_cast<unsigned>(bits_));
  if (created->key == nullptr) throw std::runtime_error("RSA key generation failed");
  unsigned char* der = nullptr;
  int length = i2d_PUBKEY(created->key, &der);
  if (length <= 0) throw std::runtime_error("RSA public key encoding failed");
  created->publicKeyText = detail::base64Encode(std::string_view(reinterpret_cast<char*>(der), length));
  OPENSSL_free(der);
  pair_ = std::move(created);
  return *pair_;
}

std::string GatewayKey::publicKeyText() {
  std::lock_guard lock(mutex_);
  return pair().publicKeyText;
}

std::string GatewayKey::issueTimeStamp() {
  using namespace std::chrono;
  std::lock_guard lock(mutex_);
  auto now = static_cast<unsigned long long>(
      duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count());
  lastStamp_ = now > lastStamp_ ? now : lastStamp_ + 1;
  issued_.push_back(std::to_string(lastStamp_));
  return issued_.back();
}

nlohmann::ordered_json GatewayKey::sessionKey() {
  std::string key = publicKeyText();
  return {{"rsaPK", key}, {"rsaTS", issueTimeStamp()}};
}

std::optional<std::string> GatewayKey::decrypt(std::string_view base64) {
  auto cipher = detail::base64Decode(base64);
  if (!cipher || cipher->empty()) return std::nullopt;

  std::lock_guard lock(mutex_);
  EVP_PKEY_CTX* context = EVP_PKEY_CTX_new(pair().key, nullptr);
  if (context == nullptr) return std::nullopt;
  std::string plain;
  bool ok = EVP_PKEY_decrypt_init(context) == 1 &&
            EVP_PKEY_CTX_set_rsa_padding(context, RSA_PKCS1_PADDING) == 1;
  // Newer OpenSSL answers a bad padding with random bytes unless told not to; older
  // releases do not know the setting and always report the error.
  EVP_PKEY_CTX_ctrl_str(context, "rsa_pkcs1_implicit_rejection", "0");
  ERR_clear_error();
  std::size_t length = 0;
  const auto* in = reinterpret_cast<const unsigned char*>(cipher->data());
  if (ok) ok = EVP_PKEY_decrypt(context, nullptr, &length, in, cipher->size()) == 1;
  if (ok) {
    plain.resize(length);
    ok = EVP_PKEY_decrypt(context, reinterpret_cast<unsigned char*>(plain.data()), &length, in,
                          cipher->size()) == 1;
  }
  EVP_PKEY_CTX_free(context);
  ERR_clear_error();
  if (!ok) return std::nullopt;
  plain.resize(length);
  auto text = detail::gbkToUtf8(plain);
  OPENSSL_cleanse(plain.data(), plain.size());
  return text;
}

std::optional<PasswordAndStamp> GatewayKey::decryptPassword(std::string_view base64,
                                                            std::optional<std::string> expectedStamp) {
  auto plain = decrypt(base64);
  if (!plain) return std::nullopt;
  auto endsWith = [&](const std::string& stamp) {
    return plain->size() >= stamp.size() && plain->compare(plain->size() - stamp.size(), stamp.size(), stamp) == 0;
  };
  std::optional<std::string> stamp;
  if (expectedStamp) {
    if (endsWith(*expectedStamp)) stamp = expectedStamp;
  } else {
    std::lock_guard lock(mutex_);
    for (auto it = issued_.rbegin(); it != issued_.rend() && !stamp; ++it) {
      if (endsWith(*it)) stamp = *it;
    }
  }
  std::optional<PasswordAndStamp> result;
  if (stamp) result = PasswordAndStamp{plain->substr(0, plain->size() - stamp->size()), *stamp};
  OPENSSL_cleanse(plain->data(), plain->size());
  return result;
}

std::string GatewayKey::privateKeyPem() {
  std::lock_guard lock(mutex_);
  BIO* bio = BIO_new(BIO_s_mem());
  PEM_write_bio_PrivateKey(bio, pair().key, nullptr, nullptr, 0, nullptr, nullptr);
  char* data = nullptr;
  long length = BIO_get_mem_data(bio, &data);
  std::string pem(data, static_cast<std::size_t>(length));
  BIO_free(bio);
  return pem;
}

}  // namespace testgateway
