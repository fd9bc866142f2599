// The cipher of the remembered password in the settings file: a byte-stream cipher keyed by a
// fixed text of the program. The same operation enciphers and deciphers; the stored form is
// the Base64 of the enciphered ANSI bytes. Nothing to do with the gateway's RSA encryption.
#pragma once

#include "base/types.h"
#include "text/cstring.h"

class CPasswordCipher {
 public:
  // The key text (a GUID form, braces included), whose 38 ANSI bytes key the cipher.
  static constexpr const WCHAR* kKeyText = u"{3F9A1C62-7B4E-4D08-9E15-C2A8B7D06E43}";

  CPasswordCipher();
  // Wipes the tables.
  virtual ~CPasswordCipher();
  CPasswordCipher(const CPasswordCipher&) = delete;
  CPasswordCipher& operator=(const CPasswordCipher&) = delete;

  // Enciphers or deciphers the zero-terminated bytes of data in place with the zero-terminated
  // key, and returns data. A byte equal to its keystream byte passes unchanged, so bytes 0x01
  // to 0x7F never become 0 and a second pass gives them back. An empty key changes nothing.
  char* Crypt(char* data, const char* key);
  // The key's ANSI bytes and a terminator, into a buffer of 256 bytes.
  void GetKey(char* buffer);

  // The stored form of a password; empty text when it cannot be made.
  CStringW Encrypt(const WCHAR* text);
  // The password from its stored form; empty text unless it deciphers to a mobile number, an
  // e-mail address or 6 to 20 password characters.
  CStringW Decrypt(const WCHAR* stored);

 private:
  static constexpr int kKeyBufferSize = 256;
  static constexpr int kStoredSize = 1024;

  BYTE S[256];
  BYTE K[256];
  BYTE k = 0;
  int n = 0;
  int j = 0;
  int i = 0;
  int j2 = 0;
  int length = 0;
};
