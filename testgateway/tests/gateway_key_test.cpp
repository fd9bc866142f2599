// The gateway's RSA key: what it hands out imports as the device imports it, and a password
// encrypted the way the device encrypts it decrypts to the password and the time stamp.
#include <gtest/gtest.h>

#include <openssl/evp.h>
#include <openssl/x509.h>

#include <memory>

#include "device_encryption.h"
#include "testgateway/gateway_key.h"

namespace testgateway {
namespace {

using testing::encryptAsTheDevice;
using testing::unbase64;

TEST(GatewayKeyTest, ThePublicKeyIsBase64OfASubjectPublicKeyInfo) {
  GatewayKey key(1024);
  std::string text = key.publicKeyText();
  EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos);
  std::string der = unbase64(text);
  const auto* p = reinterpret_cast<const unsigned char*>(der.data());
  std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> imported(d2i_PUBKEY(nullptr, &p, static_cast<long>(der.size())),
                                                               EVP_PKEY_free);
  ASSERT_TRUE(imported);
  EXPECT_EQ(EVP_PKEY_get_base_id(imported.get()), EVP_PKEY_RSA);
  EXPECT_EQ(EVP_PKEY_get_bits(imported.get()), 1024);
  EXPECT_EQ(key.publicKeyText(), text);  // one key for the gateway's life
}

TEST(GatewayKeyTest, DecryptsWhatTheDeviceSendsIntoPasswordAndStamp) {
  GatewayKey key(1024);
  auto session = key.sessionKey();
  std::string stamp = session["rsaTS"];
  std::string cipher = encryptAsTheDevice(session["rsaPK"], "pass1234" + stamp, true);

  auto decrypted = key.decryptPassword(cipher);
  ASSERT_TRUE(decrypted);
  EXPECT_EQ(decrypted->password, "pass1234");
  EXPECT_EQ(decrypted->timeStamp, stamp);
  EXPECT_EQ(key.decrypt(cipher), "pass1234" + stamp);
  EXPECT_TRUE(key.decryptPassword(cipher, stamp));
  EXPECT_FALSE(key.decryptPassword(cipher, "999"));
}

TEST(GatewayKeyTest, SplitsAtTheStampThatEndsTheText) {
  GatewayKey key(1024);
  std::string older = key.issueTimeStamp();
  std::string newer = key.issueTimeStamp();
  EXPECT_NE(older, newer);
  auto decrypted = key.decryptPassword(encryptAsTheDevice(key.publicKeyText(), "abc" + older, true));
  ASSERT_TRUE(decrypted);
  EXPECT_EQ(decrypted->password, "abc");
  EXPECT_EQ(decrypted->timeStamp, older);
  EXPECT_FALSE(key.decryptPassword(encryptAsTheDevice(key.publicKeyText(), "abc123", true)));  // no stamp
}

TEST(GatewayKeyTest, ReadsTheTextInTheAnsiCodePage) {
  GatewayKey key(1024);
  std::string stamp = key.issueTimeStamp();
  std::string gbk = "\xC3\xDC\xC2\xEB";  // "密码"
  auto decrypted = key.decryptPassword(encryptAsTheDevice(key.publicKeyText(), gbk + stamp, true));
  ASSERT_TRUE(decrypted);
  EXPECT_EQ(decrypted->password, "密码");
}

TEST(GatewayKeyTest, RefusesWhatDoesNotDecrypt) {
  GatewayKey key(1024);
  std::string stamp = key.issueTimeStamp();
  std::string unreversed = encryptAsTheDevice(key.publicKeyText(), "pass" + stamp, false);
  GatewayKey other(1024);
  std::string foreign = encryptAsTheDevice(other.publicKeyText(), "pass" + stamp, true);
  for (const std::string& text : {unreversed, foreign, std::string("not base64!"), std::string()}) {
    EXPECT_FALSE(key.decrypt(text));
  }
}

TEST(GatewayKeyTest, TakesTheLongestKeyTheDeviceAccepts) {
  GatewayKey key(2048);
  std::string stamp = key.issueTimeStamp();
  std::string cipher = encryptAsTheDevice(key.publicKeyText(), "pw" + stamp, true);
  EXPECT_EQ(cipher.size(), 344u);
  EXPECT_TRUE(key.decryptPassword(cipher));
}

}  // namespace
}  // namespace testgateway
