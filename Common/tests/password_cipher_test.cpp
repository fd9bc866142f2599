#include "password_cipher.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "crypt/base64.h"

namespace {

std::string Hex(const std::string& bytes)
{
  static const char digits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char byte : bytes) {
    hex += digits[byte >> 4];
    hex += digits[byte & 15];
  }
  return hex;
}

std::string Crypted(const std::string& data, const char* key)
{
  std::string buffer = data;
  CPasswordCipher cipher;
  cipher.Crypt(buffer.data(), key);
  return buffer;
}

CStringW Base64Of(const std::string& bytes)
{
  std::string text(Base64EncodeGetRequiredLength(static_cast<int>(bytes.size()), ATL_BASE64_FLAG_NOCRLF), '\0');
  int length = static_cast<int>(text.size());
  EXPECT_TRUE(Base64Encode(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<int>(bytes.size()), text.data(),
                           &length, ATL_BASE64_FLAG_NOCRLF));
  text.resize(static_cast<size_t>(length));
  return CStringW(text.c_str());
}

TEST(PasswordCipher, FrozenVectors)
{
  // The last byte of the second text equals its keystream byte and passes unchanged; its key
  // schedule swaps entries with themselves.
  EXPECT_EQ(Hex(Crypted("Plaintext", "Key")), "bbf316e8d940af0ad3");
  EXPECT_EQ(Hex(Crypted("!\"#$%&'()*+,-./0123456789:;<=>?@AB", "k1")),
            "8afd29a382ef8819a4419f70616365e84b267c05d1712de2571f5fc4ac16ac70e242");
  CPasswordCipher cipher;
  EXPECT_EQ(cipher.Encrypt(u"pass123"), u"1wpd8Jid1A==");
  EXPECT_EQ(cipher.Encrypt(u"13812345678"), u"llgWspuc08e9dbU=");
  EXPECT_EQ(cipher.Encrypt(u"user.name@example.com"), u"0hhL8YfBhp/uAugmMcXgnp0ve7it");
}

TEST(PasswordCipher, SecondPassGivesAsciiBack)
{
  std::string every;
  for (int c = 1; c < 0x80; ++c) {
    every += static_cast<char>(c);
  }
  for (const std::string& text : {every, std::string("pass123"), std::string(300, 'a'), std::string("x")}) {
    for (const char* key : {"k1", "Key", "{3F9A1C62-7B4E-4D08-9E15-C2A8B7D06E43}", "\x7F\x01"}) {
      std::string once = Crypted(text, key);
      EXPECT_EQ(std::strlen(once.c_str()), text.size()) << "no byte became 0";
      EXPECT_EQ(Crypted(once, key), text);
    }
  }
  EXPECT_EQ(Crypted("abc", ""), "abc") << "an empty key changes nothing";
}

TEST(PasswordCipher, KeyIsAGuidFormOf38Bytes)
{
  char key[256];
  std::memset(key, 'x', sizeof key);
  CPasswordCipher cipher;
  cipher.GetKey(key);
  ASSERT_EQ(std::strlen(key), 38u);
  EXPECT_EQ(key[0], '{');
  EXPECT_EQ(key[37], '}');
  for (int dash : {9, 14, 19, 24}) {
    EXPECT_EQ(key[dash], '-');
  }
}

TEST(PasswordCipher, DecryptAcceptsPasswordsMobilesAndEmailAddresses)
{
  CPasswordCipher cipher;
  for (const WCHAR* text : {u"pass123", u"13812345678", u"a.long.user.name@example.com.cn", u"~!@#$%^&*()_+"}) {
    EXPECT_EQ(cipher.Decrypt(cipher.Encrypt(text)), text);
  }
}

TEST(PasswordCipher, DecryptGivesEmptyTextForAnythingElse)
{
  CPasswordCipher cipher;
  EXPECT_EQ(cipher.Decrypt(cipher.Encrypt(u"abc")), u"") << "too short for a password";
  EXPECT_EQ(cipher.Decrypt(cipher.Encrypt(u"pass 123")), u"") << "a blank";
  EXPECT_EQ(cipher.Decrypt(u"!!!!"), u"") << "not Base64";
  EXPECT_EQ(cipher.Decrypt(u""), u"");
  EXPECT_EQ(cipher.Decrypt(Base64Of(std::string(1025, 'a'))), u"") << "longer than the stored form allows";
}

TEST(PasswordCipher, StoredValueOf1024BytesStaysInsideTheBuffer)
{
  // Deciphers to the first bytes of a valid password followed by other bytes; the terminator
  // after 1024 decoded bytes must not be written past the buffer.
  std::string bytes = Crypted("pass123", "{3F9A1C62-7B4E-4D08-9E15-C2A8B7D06E43}") + std::string(1024 - 7, 'q');
  CPasswordCipher cipher;
  EXPECT_EQ(cipher.Decrypt(Base64Of(bytes)), u"");
  EXPECT_EQ(cipher.Decrypt(Base64Of(bytes.substr(0, 1023))), u"");
}

}  // namespace
