#include "crypt/base64.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Encode(const std::string& bytes, DWORD flags) {
  const int length = static_cast<int>(bytes.size());
  std::string out(Base64EncodeGetRequiredLength(length, flags), '?');
  int outLength = static_cast<int>(out.size());
  EXPECT_TRUE(Base64Encode(reinterpret_cast<const BYTE*>(bytes.data()), length, out.data(), &outLength, flags));
  EXPECT_EQ(outLength, static_cast<int>(out.size())) << "the required length is exact";
  out.resize(outLength);
  return out;
}

std::string Decode(const std::string& text) {
  std::vector<BYTE> out(Base64DecodeGetRequiredLength(static_cast<int>(text.size())) + 1);
  int outLength = static_cast<int>(out.size());
  EXPECT_TRUE(Base64Decode(text.data(), static_cast<int>(text.size()), out.data(), &outLength));
  return std::string(out.begin(), out.begin() + outLength);
}

TEST(Base64, EncodesWithPaddingAndWithout) {
  struct Case {
    std::string bytes;
    DWORD flags;
    std::string text;
  };
  const Case cases[] = {
      {"", ATL_BASE64_FLAG_NOCRLF, ""},
      {"f", ATL_BASE64_FLAG_NOCRLF, "Zg=="},
      {"fo", ATL_BASE64_FLAG_NOCRLF, "Zm8="},
      {"foo", ATL_BASE64_FLAG_NOCRLF, "Zm9v"},
      {"foob", ATL_BASE64_FLAG_NOCRLF, "Zm9vYg=="},
      {"fooba", ATL_BASE64_FLAG_NOCRLF, "Zm9vYmE="},
      {"f", ATL_BASE64_FLAG_NOCRLF | ATL_BASE64_FLAG_NOPAD, "Zg"},
      {"fo", ATL_BASE64_FLAG_NOCRLF | ATL_BASE64_FLAG_NOPAD, "Zm8"},
      {std::string("\xFF\xFE\xFB\x00", 4), ATL_BASE64_FLAG_NOCRLF, "//77AA=="},
      {"\xD6\xD0\xCE\xC4", ATL_BASE64_FLAG_NONE, "1tDOxA=="},
  };
  for (const Case& c : cases) EXPECT_EQ(Encode(c.bytes, c.flags), c.text) << c.text;
}

TEST(Base64, BreaksLinesAfter76CharactersUnlessAskedNot) {
  const std::string line(57, 'a');  // exactly 76 characters
  EXPECT_EQ(Encode(line, ATL_BASE64_FLAG_NONE).find('\r'), std::string::npos) << "no break at the very end";

  const std::string longer(58, 'a');
  const std::string broken = Encode(longer, ATL_BASE64_FLAG_NONE);
  ASSERT_EQ(broken.size(), 76u + 2 + 4);
  EXPECT_EQ(broken.substr(76, 2), "\r\n");
  EXPECT_EQ(Encode(longer, ATL_BASE64_FLAG_NOCRLF), broken.substr(0, 76) + broken.substr(78));
  EXPECT_EQ(Decode(broken), longer);
}

TEST(Base64, EncodeFailsOnAShortBufferAndWritesNothing) {
  const BYTE bytes[] = {1, 2, 3, 4};
  char out[8];
  std::memset(out, '#', sizeof out);
  int outLength = 7;  // "AQIDBA==" needs 8
  EXPECT_FALSE(Base64Encode(bytes, 4, out, &outLength, ATL_BASE64_FLAG_NOCRLF));
  EXPECT_EQ(outLength, 7);
  EXPECT_EQ(std::string(out, 8), std::string(8, '#'));

  EXPECT_FALSE(Base64Encode(nullptr, 4, out, &outLength, ATL_BASE64_FLAG_NOCRLF));
  EXPECT_FALSE(Base64Encode(bytes, 4, nullptr, &outLength, ATL_BASE64_FLAG_NOCRLF));
  EXPECT_FALSE(Base64Encode(bytes, -1, out, &outLength, ATL_BASE64_FLAG_NOCRLF));
}

TEST(Base64, DecodeSkipsEveryCharacterOutsideTheAlphabet) {
  struct Case {
    std::string text;
    std::string bytes;
  };
  const Case cases[] = {
      {"Zm9vYg==", "foob"},
      {"Zm9vYg", "foob"},         // padding is optional
      {"Zm9v\r\nYg==", "foob"},   // line breaks
      {"Zm 9v!Y*g", "foob"},      // anything else is skipped too
      {"Z=m=9=v", "foo"},         // padding inside the text is skipped as well
      {"Zm9vY", "foo"},           // a lone last character fills no byte
      {"\xD6\xD0Zg==", "f"},      // bytes above 0x7F are not in the alphabet
      {"!!!", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Decode(c.text), c.bytes) << c.text;
}

TEST(Base64, DecodeStopsAtAZeroOrTheGivenLength) {
  const char text[] = "Zm9v\0Zm9v";
  BYTE out[16];
  int outLength = sizeof out;
  ASSERT_TRUE(Base64Decode(text, sizeof text - 1, out, &outLength));
  EXPECT_EQ(outLength, 3);

  outLength = sizeof out;
  ASSERT_TRUE(Base64Decode("Zm9vYmFy", 4, out, &outLength));
  EXPECT_EQ(outLength, 3);
}

TEST(Base64, DecodeReportsTheNeededSizeForANullOrShortBuffer) {
  int outLength = 0;
  EXPECT_FALSE(Base64Decode("Zm9vYmFyYg==", 12, nullptr, &outLength));
  EXPECT_EQ(outLength, 7);
  EXPECT_EQ(Base64DecodeGetRequiredLength(12), 12);

  BYTE out[8];
  std::memset(out, 0, sizeof out);
  outLength = 6;
  EXPECT_FALSE(Base64Decode("Zm9vYmFyYg==", 12, out, &outLength));
  EXPECT_EQ(outLength, 7);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 6), "foobar") << "the runs that fit are written";
  EXPECT_EQ(out[6], 0);

  outLength = 7;
  EXPECT_TRUE(Base64Decode("Zm9vYmFyYg==", 12, out, &outLength));
  EXPECT_EQ(outLength, 7);
}

TEST(Base64, RoundTripsEveryByteValueAtEveryRemainder) {
  for (int length = 0; length <= 258; ++length) {
    std::string bytes;
    for (int i = 0; i < length; ++i) bytes.push_back(static_cast<char>((i * 97 + length) & 0xFF));
    for (DWORD flags : {ATL_BASE64_FLAG_NONE, ATL_BASE64_FLAG_NOCRLF, ATL_BASE64_FLAG_NOPAD}) {
      ASSERT_EQ(Decode(Encode(bytes, flags)), bytes) << "length " << length << " flags " << flags;
    }
  }
}

}  // namespace
