// The road of a password to the gateway: a Base64 public-key information from the gateway is
// decoded, imported and used to encrypt; the gateway's private key must read the plain text once
// the block is turned to most significant byte first.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "base/errors.h"
#include "base/lasterror.h"
#include "crypt/crypt.h"
#include "test_keys.h"

namespace {

using crypt_test::DecryptPkcs1;
using crypt_test::GenerateRsaKey;
using crypt_test::PublicKeyInfoDer;

std::string PublicKeyText(EVP_PKEY* key) {
  const std::vector<unsigned char> der = PublicKeyInfoDer(key);
  std::string text(Base64EncodeGetRequiredLength(static_cast<int>(der.size()), ATL_BASE64_FLAG_NOCRLF), '\0');
  int length = static_cast<int>(text.size());
  EXPECT_TRUE(Base64Encode(der.data(), static_cast<int>(der.size()), text.data(), &length, ATL_BASE64_FLAG_NOCRLF));
  text.resize(length);
  return text;
}

class RsaEncryptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CryptAcquireContextW(&provider_, nullptr, MS_ENHANCED_PROV, PROV_RSA_FULL, 0));
  }
  void TearDown() override {
    if (key_ != 0) {
      EXPECT_TRUE(CryptDestroyKey(key_));
    }
    EXPECT_TRUE(CryptReleaseContext(provider_, 0));
  }

  // Decodes the gateway's key text and imports it, as the password encryption does.
  void ImportKeyText(const std::string& text) {
    BYTE der[512];
    int derLength = sizeof der;
    ASSERT_TRUE(Base64Decode(text.c_str(), static_cast<int>(text.size()), der, &derLength));
    alignas(8) BYTE info[1024];
    DWORD infoSize = sizeof info;
    ASSERT_TRUE(CryptDecodeObjectEx(X509_ASN_ENCODING, X509_PUBLIC_KEY_INFO, der, derLength, 0, nullptr, info,
                                    &infoSize));
    ASSERT_TRUE(CryptImportPublicKeyInfoEx(provider_, X509_ASN_ENCODING,
                                           reinterpret_cast<PCERT_PUBLIC_KEY_INFO>(info), CALG_RSA_KEYX, 0,
                                           nullptr, &key_));
  }

  // Encrypts in place in a 256-byte buffer; the block as the provider returns it.
  std::vector<unsigned char> Encrypt(const std::string& plain) {
    BYTE buffer[256] = {};
    std::memcpy(buffer, plain.data(), plain.size());
    DWORD length = static_cast<DWORD>(plain.size());
    EXPECT_TRUE(CryptEncrypt(key_, 0, TRUE, 0, buffer, &length, sizeof buffer)) << GetLastError();
    return std::vector<unsigned char>(buffer, buffer + length);
  }

  HCRYPTPROV provider_ = 0;
  HCRYPTKEY key_ = 0;
};

TEST_F(RsaEncryptTest, TheGatewayReadsThePasswordAfterTheBlockIsReversed) {
  const crypt_test::Pkey gateway = GenerateRsaKey(2048);
  ImportKeyText(PublicKeyText(gateway.get()));

  const std::string plain = "pass1234" "1712345678901";
  const std::vector<unsigned char> block = Encrypt(plain);
  ASSERT_EQ(block.size(), 256u);

  std::vector<unsigned char> reversed(block.rbegin(), block.rend());
  std::string decrypted;
  ASSERT_TRUE(DecryptPkcs1(gateway.get(), reversed, decrypted));
  EXPECT_EQ(decrypted, plain);

  std::string unreversed;
  EXPECT_FALSE(DecryptPkcs1(gateway.get(), block, unreversed) && unreversed == plain)
      << "the provider's order is least significant byte first";

  std::vector<unsigned char> again = Encrypt(plain);
  EXPECT_NE(again, block) << "type 2 padding is random";
  std::reverse(again.begin(), again.end());
  ASSERT_TRUE(DecryptPkcs1(gateway.get(), again, decrypted));
  EXPECT_EQ(decrypted, plain);
}

TEST_F(RsaEncryptTest, LengthProtocolFollowsTheKeySize) {
  const crypt_test::Pkey gateway = GenerateRsaKey(1024);
  ImportKeyText(PublicKeyText(gateway.get()));

  DWORD length = 20;
  ASSERT_TRUE(CryptEncrypt(key_, 0, TRUE, 0, nullptr, &length, 0)) << "a null buffer asks for the size";
  EXPECT_EQ(length, 128u);

  BYTE buffer[256] = {'a', 'b', 'c'};
  length = 3;
  SetLastError(0);
  EXPECT_FALSE(CryptEncrypt(key_, 0, TRUE, 0, buffer, &length, 127));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MORE_DATA));
  EXPECT_EQ(length, 128u);
  EXPECT_EQ(buffer[0], 'a') << "the plain text is left alone";

  length = 128 - 11 + 1;
  EXPECT_FALSE(CryptEncrypt(key_, 0, TRUE, 0, buffer, &length, sizeof buffer));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(NTE_BAD_LEN));

  length = 128 - 11;
  EXPECT_TRUE(CryptEncrypt(key_, 0, TRUE, 0, buffer, &length, sizeof buffer));
  EXPECT_EQ(length, 128u);
}

TEST_F(RsaEncryptTest, RefusesWhatTheProviderDoesNotOffer) {
  const crypt_test::Pkey gateway = GenerateRsaKey(1024);
  ImportKeyText(PublicKeyText(gateway.get()));
  BYTE buffer[128] = {'x'};
  DWORD length = 1;
  struct Case {
    const char* what;
    HCRYPTHASH hash;
    BOOL final;
    DWORD flags;
    HRESULT error;
  };
  const Case cases[] = {
      {"a hash", 1, TRUE, 0, NTE_BAD_HASH},
      {"not final", 0, FALSE, 0, NTE_BAD_DATA},
      {"OAEP or other flags", 0, TRUE, 0x40, NTE_BAD_FLAGS},
  };
  for (const Case& c : cases) {
    SetLastError(0);
    EXPECT_FALSE(CryptEncrypt(key_, c.hash, c.final, c.flags, buffer, &length, sizeof buffer)) << c.what;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(c.error)) << c.what;
  }
}

TEST_F(RsaEncryptTest, StaleHandlesAreRefused) {
  const crypt_test::Pkey gateway = GenerateRsaKey(1024);
  ImportKeyText(PublicKeyText(gateway.get()));
  const HCRYPTKEY key = key_;
  ASSERT_TRUE(CryptDestroyKey(key));
  key_ = 0;

  BYTE buffer[128] = {'x'};
  DWORD length = 1;
  EXPECT_FALSE(CryptEncrypt(key, 0, TRUE, 0, buffer, &length, sizeof buffer));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(NTE_BAD_KEY));
  EXPECT_FALSE(CryptDestroyKey(key));

  ImportKeyText(PublicKeyText(gateway.get()));
  EXPECT_NE(key_, key) << "a reused slot gets a new handle";
  EXPECT_FALSE(CryptEncrypt(key, 0, TRUE, 0, buffer, &length, sizeof buffer)) << "the old handle stays dead";

  HCRYPTPROV other = 0;
  ASSERT_TRUE(CryptAcquireContextW(&other, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT));
  ASSERT_TRUE(CryptReleaseContext(other, 0));
  EXPECT_FALSE(CryptReleaseContext(other, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(NTE_BAD_UID));
}

TEST(CryptProvider, AcquireChecksTypeNameAndFlags) {
  struct Case {
    const char* what;
    LPCWSTR name;
    DWORD type;
    DWORD flags;
    HRESULT error;  // S_OK: acquired
  };
  const Case cases[] = {
      {"the enhanced provider", MS_ENHANCED_PROV, PROV_RSA_FULL, 0, S_OK},
      {"its name in other case", u"microsoft enhanced cryptographic provider V1.0", PROV_RSA_FULL, 0, S_OK},
      {"the default provider, new key set", nullptr, PROV_RSA_FULL, CRYPT_NEWKEYSET, S_OK},
      {"an unknown provider", u"Some Other Provider", PROV_RSA_FULL, 0, NTE_KEYSET_NOT_DEF},
      {"another type", nullptr, 24, 0, NTE_PROV_TYPE_NOT_DEF},
      {"an unknown flag", nullptr, PROV_RSA_FULL, 0x100, NTE_BAD_FLAGS},
  };
  for (const Case& c : cases) {
    HCRYPTPROV provider = 0;
    SetLastError(0);
    const BOOL acquired = CryptAcquireContextW(&provider, nullptr, c.name, c.type, c.flags);
    EXPECT_EQ(acquired, c.error == S_OK) << c.what;
    if (acquired) {
      EXPECT_TRUE(CryptReleaseContext(provider, 0)) << c.what;
    } else {
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(c.error)) << c.what;
    }
  }
}

TEST(CryptImport, RefusesKeysThatAreNotRsaAndDeadProviders) {
  HCRYPTPROV provider = 0;
  ASSERT_TRUE(CryptAcquireContextW(&provider, nullptr, MS_ENHANCED_PROV, PROV_RSA_FULL, 0));

  crypt_test::Pkey ecKey(EVP_EC_gen("P-256"));
  const std::vector<unsigned char> der = PublicKeyInfoDer(ecKey.get());
  alignas(8) BYTE info[1024];
  DWORD infoSize = sizeof info;
  ASSERT_TRUE(CryptDecodeObjectEx(X509_ASN_ENCODING, X509_PUBLIC_KEY_INFO, der.data(),
                                  static_cast<DWORD>(der.size()), 0, nullptr, info, &infoSize));
  auto* keyInfo = reinterpret_cast<PCERT_PUBLIC_KEY_INFO>(info);
  HCRYPTKEY key = 0;
  EXPECT_FALSE(CryptImportPublicKeyInfoEx(provider, X509_ASN_ENCODING, keyInfo, CALG_RSA_KEYX, 0, nullptr, &key));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(NTE_BAD_ALGID));

  // An RSA identifier over bytes that are no RSA key.
  char rsaOid[] = szOID_RSA_RSA;
  keyInfo->Algorithm.pszObjId = rsaOid;
  EXPECT_FALSE(CryptImportPublicKeyInfoEx(provider, X509_ASN_ENCODING, keyInfo, CALG_RSA_KEYX, 0, nullptr, &key));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(NTE_BAD_DATA));

  ASSERT_TRUE(CryptReleaseContext(provider, 0));
  EXPECT_FALSE(CryptImportPublicKeyInfoEx(provider, X509_ASN_ENCODING, keyInfo, CALG_RSA_KEYX, 0, nullptr, &key));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(NTE_BAD_UID));
}

}  // namespace
