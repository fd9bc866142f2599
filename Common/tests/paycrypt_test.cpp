#include "paycrypt.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "crypt/base64.h"
#include "device_files.h"
#include "testgateway/gateway_key.h"
#include "text_helpers.h"

namespace {

using common_test::ReadDeviceFile;

constexpr const WCHAR* kLog = u"\\Temp\\common_tests.exe.1.log";

std::string Narrow(const CStringW& text)
{
  return std::string(CStringA(text).GetString());
}

CStringW Wide(const std::string& text)
{
  return CStringW(text.c_str());
}

size_t LogLines()
{
  std::string log = ReadDeviceFile(kLog);
  return static_cast<size_t>(std::count(log.begin(), log.end(), '\n'));
}

class PayCryptTest : public common_test::DeviceRootTest {
 protected:
  static testgateway::GatewayKey& Key()
  {
    static testgateway::GatewayKey key(1024);
    return key;
  }
};

TEST_F(PayCryptTest, GatewayDecryptsThePasswordAndTimeStamp)
{
  std::string stamp = Key().issueTimeStamp();
  CStringW cipher = PayCrypt::Encrypt(PayCrypt::GetProvider(), Wide("pass123" + stamp), Wide(Key().publicKeyText()), TRUE);
  ASSERT_EQ(cipher.GetLength(), 172) << "one 128-byte block";
  auto decrypted = Key().decryptPassword(Narrow(cipher), stamp);
  ASSERT_TRUE(decrypted.has_value());
  EXPECT_EQ(decrypted->password, "pass123");
  EXPECT_EQ(LogLines(), 0u);
}

TEST_F(PayCryptTest, WithoutReverseTheBytesStayLeastSignificantFirst)
{
  CStringW out = u"old";
  PayCrypt::Encrypt(PayCrypt::GetProvider(), out, u"secret", Wide(Key().publicKeyText()), FALSE);
  CStringA text(out);
  std::vector<BYTE> bytes(256);
  int length = 256;
  ASSERT_TRUE(Base64Decode(text, text.GetLength(), bytes.data(), &length));
  bytes.resize(static_cast<size_t>(length));
  std::reverse(bytes.begin(), bytes.end());
  char reversed[256];
  int reversedLength = 256;
  ASSERT_TRUE(Base64Encode(bytes.data(), length, reversed, &reversedLength, ATL_BASE64_FLAG_NOCRLF));
  EXPECT_EQ(Key().decrypt(std::string(reversed, static_cast<size_t>(reversedLength))), "secret");
}

TEST_F(PayCryptTest, PlainTextMustFitOneBlock)
{
  CStringW key = Wide(Key().publicKeyText());
  CStringW longest(u'a', 128 - 11);
  EXPECT_EQ(Key().decrypt(Narrow(PayCrypt::Encrypt(PayCrypt::GetProvider(), longest, key, TRUE))), Narrow(longest));
  for (int length : {128 - 10, 255, 256, 1000}) {
    size_t before = LogLines();
    EXPECT_EQ(PayCrypt::Encrypt(PayCrypt::GetProvider(), CStringW(u'a', length), key, TRUE), u"") << length;
    EXPECT_EQ(LogLines(), before + 2) << "one entry for " << length;
  }
}

TEST_F(PayCryptTest, KeyTextThatIsNoPublicKeyGivesEmptyTextAndOneEntry)
{
  CStringW notAKey;
  Base64EncodeString(u"hello, not a key", notAKey);
  for (const WCHAR* key : {u"!!! not base64 !!!", notAKey.GetString(), u""}) {
    size_t before = LogLines();
    CStringW out = u"old";
    PayCrypt::Encrypt(PayCrypt::GetProvider(), out, u"pass123", key, TRUE);
    EXPECT_EQ(out, u"");
    EXPECT_EQ(LogLines(), before + 2);
  }
  std::string log = ReadDeviceFile(kLog);
  EXPECT_NE(log.find(".\\paycrypt.cpp("), std::string::npos);
  EXPECT_EQ(log.find("pass123"), std::string::npos) << "the password never reaches the log";
}

TEST_F(PayCryptTest, ProviderIsOneForTheProcess)
{
  PayCrypt::ProviderHolder* provider = PayCrypt::GetProvider();
  EXPECT_EQ(PayCrypt::GetProvider(), provider);
  EXPECT_NE(provider->handle.load(), 0u);
  PayCrypt::ProviderHolder empty;  // a holder whose first acquisition failed acquires again
  EXPECT_NE(PayCrypt::Encrypt(&empty, u"pass123", Wide(Key().publicKeyText()), TRUE), u"");
  EXPECT_NE(empty.handle.load(), 0u);
  CryptReleaseContext(empty.handle.load(), 0);
}

}  // namespace
