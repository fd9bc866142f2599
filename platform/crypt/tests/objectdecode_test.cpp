#include "crypt/objectdecode.h"

#include <gtest/gtest.h>
#include <openssl/rsa.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "base/errors.h"
#include "base/lasterror.h"
#include "crypt/errors.h"
#include "test_keys.h"

namespace {

using crypt_test::GenerateRsaKey;
using crypt_test::PublicKeyInfoDer;

struct alignas(8) DecodeBuffer {
  BYTE bytes[1024];
};

TEST(DecodePublicKeyInfo, GivesTheAlgorithmParametersAndKeyBitsInsideTheCallersBuffer) {
  const crypt_test::Pkey key = GenerateRsaKey(1024);
  const std::vector<unsigned char> der = PublicKeyInfoDer(key.get());

  DWORD needed = 0;
  ASSERT_TRUE(CryptDecodeObjectEx(X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, X509_PUBLIC_KEY_INFO, der.data(),
                                  static_cast<DWORD>(der.size()), 0, nullptr, nullptr, &needed));
  ASSERT_GT(needed, sizeof(CERT_PUBLIC_KEY_INFO));

  DecodeBuffer buffer;
  DWORD size = sizeof buffer.bytes;
  ASSERT_TRUE(CryptDecodeObjectEx(X509_ASN_ENCODING, X509_PUBLIC_KEY_INFO, der.data(),
                                  static_cast<DWORD>(der.size()), 0, nullptr, buffer.bytes, &size));
  EXPECT_EQ(size, needed);

  const auto* info = reinterpret_cast<const CERT_PUBLIC_KEY_INFO*>(buffer.bytes);
  EXPECT_STREQ(info->Algorithm.pszObjId, szOID_RSA_RSA);
  ASSERT_EQ(info->Algorithm.Parameters.cbData, 2u);
  EXPECT_EQ(info->Algorithm.Parameters.pbData[0], 0x05) << "the NULL parameters, tag and length";
  EXPECT_EQ(info->PublicKey.cUnusedBits, 0u);

  unsigned char* rsaDer = nullptr;
  const int rsaLength = i2d_PublicKey(key.get(), &rsaDer);
  ASSERT_EQ(info->PublicKey.cbData, static_cast<DWORD>(rsaLength));
  EXPECT_EQ(std::memcmp(info->PublicKey.pbData, rsaDer, rsaLength), 0);
  OPENSSL_free(rsaDer);

  for (const BYTE* p : std::initializer_list<const BYTE*>{reinterpret_cast<const BYTE*>(info->Algorithm.pszObjId), info->Algorithm.Parameters.pbData,
                        info->PublicKey.pbData}) {
    EXPECT_TRUE(p >= buffer.bytes && p < buffer.bytes + needed) << "points inside the caller's buffer";
  }
}

TEST(DecodePublicKeyInfo, AShortBufferFailsWithMoreDataAndTheNeededSize) {
  const crypt_test::Pkey key = GenerateRsaKey(1024);
  const std::vector<unsigned char> der = PublicKeyInfoDer(key.get());
  DWORD needed = 0;
  ASSERT_TRUE(CryptDecodeObjectEx(X509_ASN_ENCODING, X509_PUBLIC_KEY_INFO, der.data(),
                                  static_cast<DWORD>(der.size()), 0, nullptr, nullptr, &needed));

  DecodeBuffer buffer;
  std::memset(buffer.bytes, 0xCC, sizeof buffer.bytes);
  DWORD size = needed - 1;
  SetLastError(0);
  EXPECT_FALSE(CryptDecodeObjectEx(X509_ASN_ENCODING, X509_PUBLIC_KEY_INFO, der.data(),
                                   static_cast<DWORD>(der.size()), 0, nullptr, buffer.bytes, &size));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MORE_DATA));
  EXPECT_EQ(size, needed);
  EXPECT_EQ(buffer.bytes[0], 0xCC) << "nothing written";
}

TEST(DecodePublicKeyInfo, RefusesMalformedEncodings) {
  // SEQUENCE { SEQUENCE { OID 1.2.840.113549.1.1.1, NULL }, BIT STRING { 0 unused, 30 00 } }
  const std::vector<BYTE> good = {0x30, 0x14, 0x30, 0x0D, 0x06, 0x09, 0x2A, 0x86, 0x48, 0x86, 0xF7, 0x0D,
                                  0x01, 0x01, 0x01, 0x05, 0x00, 0x03, 0x03, 0x00, 0x30, 0x00};
  struct Case {
    const char* what;
    std::vector<BYTE> bytes;
    HRESULT error;
  };
  auto with = [&good](size_t at, BYTE value) {
    std::vector<BYTE> bytes = good;
    bytes[at] = value;
    return bytes;
  };
  std::vector<BYTE> trailing = good;
  trailing.push_back(0);
  const Case cases[] = {
      {"empty", {}, CRYPT_E_ASN1_EOD},
      {"cut short", std::vector<BYTE>(good.begin(), good.end() - 1), CRYPT_E_ASN1_EOD},
      {"not a sequence", with(0, 0x31), CRYPT_E_ASN1_BADTAG},
      {"no object identifier", with(4, 0x04), CRYPT_E_ASN1_BADTAG},
      {"key not a bit string", with(17, 0x04), CRYPT_E_ASN1_BADTAG},
      {"eight unused bits", with(19, 0x08), CRYPT_E_ASN1_CORRUPT},
      {"trailing byte", trailing, CRYPT_E_ASN1_CORRUPT},
      {"indefinite length", with(1, 0x80), CRYPT_E_ASN1_CORRUPT},
      {"long form of a short length", {0x30, 0x81, 0x13, 0x30}, CRYPT_E_ASN1_CORRUPT},
      {"object identifier cut inside an arc", with(14, 0x81), CRYPT_E_ASN1_CORRUPT},
  };
  for (const Case& c : cases) {
    DWORD size = 0;
    SetLastError(0);
    EXPECT_FALSE(CryptDecodeObjectEx(X509_ASN_ENCODING, X509_PUBLIC_KEY_INFO, c.bytes.data(),
                                     static_cast<DWORD>(c.bytes.size()), 0, nullptr, nullptr, &size))
        << c.what;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(c.error)) << c.what;
  }

  DWORD size = 0;
  ASSERT_TRUE(CryptDecodeObjectEx(X509_ASN_ENCODING, X509_PUBLIC_KEY_INFO, good.data(),
                                  static_cast<DWORD>(good.size()), 0, nullptr, nullptr, &size));
  EXPECT_FALSE(CryptDecodeObjectEx(PKCS_7_ASN_ENCODING, X509_PUBLIC_KEY_INFO, good.data(),
                                   static_cast<DWORD>(good.size()), 0, nullptr, nullptr, &size));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND)) << "no decoder for that encoding";
}

}  // namespace
