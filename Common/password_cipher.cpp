#include "password_cipher.h"

#include <cstring>
#include <exception>
#include <vector>

#include "crypt/base64.h"
#include "input_checks.h"
#include "secret_wipe.h"
#include "text/widechar.h"
#include "text_helpers.h"

namespace {

// Swaps two entries by exclusive-or, as the cipher defines it: an entry swapped with itself
// becomes 0.
void XorSwap(BYTE& a, BYTE& b)
{
  a ^= b;
  b ^= a;
  a ^= b;
}

}  // namespace

CPasswordCipher::CPasswordCipher()
{
  std::memset(S, 0, sizeof S);
  std::memset(K, 0, sizeof K);
}

CPasswordCipher::~CPasswordCipher()
{
  WipeSecret(S, sizeof S);
  WipeSecret(K, sizeof K);
  k = 0;
}

char* CPasswordCipher::Crypt(char* data, const char* key)
{
  length = static_cast<int>(std::strlen(key));
  if (length == 0) {
    return data;
  }
  for (int x = 0; x < 256; ++x) {
    K[x] = static_cast<BYTE>(key[x % length]);
    S[x] = static_cast<BYTE>(x);
  }
  j = 0;
  for (int x = 0; x < 256; ++x) {
    j = (K[x] + S[x] + j) % 256;
    XorSwap(S[x], S[j]);
  }

  i = 0;
  j2 = 0;
  length = static_cast<int>(std::strlen(data));
  for (n = 0; n < length; ++n) {
    i = (i + 1) % 256;
    j2 = (j2 + S[i]) % 256;
    XorSwap(S[i], S[j2]);
    k = S[(S[i] + S[j2]) % 256];
    signed char byte = static_cast<signed char>(data[n]);
    if (byte == k) {
      k = 0;
    }
    data[n] = static_cast<char>(byte ^ k);
  }
  return data;
}

void CPasswordCipher::GetKey(char* buffer)
{
  ToAnsi(kKeyText, buffer, kKeyBufferSize);
}

CStringW CPasswordCipher::Encrypt(const WCHAR* text)
{
  try {
    char key[kKeyBufferSize];
    GetKey(key);
    int size = 2 * static_cast<int>(wcslen(text)) + 1;
    std::vector<char> bytes(static_cast<size_t>(size));
    SecretWiper wipe(bytes.data(), bytes.size());
    if (ToAnsi(text, bytes.data(), size) < 0) {
      return CStringW();
    }
    Crypt(bytes.data(), key);
    char encoded[kStoredSize];
    int encodedLength = kStoredSize;
    if (!Base64Encode(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<int>(std::strlen(bytes.data())),
                      encoded, &encodedLength, ATL_BASE64_FLAG_NOCRLF)) {
      return CStringW();
    }
    return CStringW(CStringA(encoded, encodedLength));
  } catch (const std::exception&) {
    return CStringW();
  }
}

CStringW CPasswordCipher::Decrypt(const WCHAR* stored)
{
  try {
    char key[kKeyBufferSize];
    GetKey(key);
    CStringA encoded(stored);
    // One more byte than the decoded text may take, for its terminator.
    BYTE decoded[kStoredSize + 1];
    SecretWiper wipe(decoded, sizeof decoded);
    int decodedLength = kStoredSize;
    if (!Base64Decode(encoded, encoded.GetLength(), decoded, &decodedLength)) {
      return CStringW();
    }
    decoded[decodedLength] = 0;
    char* text = Crypt(reinterpret_cast<char*>(decoded), key);
    if (!IsValidMobileA(text) && !IsValidEmailA(text) && !IsValidPasswordA(text, 6, 20)) {
      return CStringW();
    }
    return CStringW(text);
  } catch (const std::exception&) {
    return CStringW();
  }
}
