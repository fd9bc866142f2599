// The gateway's RSA key pair for password encryption. It hands out the public key ("rsaPK")
// with a fresh time stamp ("rsaTS") and decrypts what a client sends back: the Base64 text of
// the PKCS#1 v1.5 encryption, most significant byte first, of the password followed by the
// time stamp, in the device's ANSI code page (GBK).
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

namespace testgateway {

struct PasswordAndStamp {
  std::string password;   // UTF-8
  std::string timeStamp;  // one the key handed out
};

class GatewayKey {
 public:
  // The key pair is generated on first use.
  explicit GatewayKey(int bits = 1024);
  ~GatewayKey();
  GatewayKey(const GatewayKey&) = delete;
  GatewayKey& operator=(const GatewayKey&) = delete;

  // Base64 (no line breaks) of the DER SubjectPublicKeyInfo: the "rsaPK" value.
  std::string publicKeyText();
  // A new time stamp (milliseconds since the epoch, never repeated), remembered as issued.
  std::string issueTimeStamp();
  // {"rsaPK": ..., "rsaTS": <new stamp>}, to merge into a reply.
  nlohmann::ordered_json sessionKey();

  // The decrypted plain text converted to UTF-8; nullopt when the text is not Base64 or does
  // not decrypt with this key.
  std::optional<std::string> decrypt(std::string_view base64);
  // The plain text split into the password and the time stamp at its end: `expectedStamp`
  // when given, else the latest issued stamp that ends it. nullopt when none does.
  std::optional<PasswordAndStamp> decryptPassword(std::string_view base64,
                                                  std::optional<std::string> expectedStamp = {});

  // The private key as PEM, for tests that check the key pair independently.
  std::string privateKeyPem();

 private:
  struct Pair;
  Pair& pair();

  int bits_;
  std::mutex mutex_;
  std::unique_ptr<Pair> pair_;
  std::vector<std::string> issued_;
  unsigned long long lastStamp_ = 0;
};

}  // namespace testgateway
