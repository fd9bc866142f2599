#include "paycrypt.h"

#include <algorithm>

#include "base/lasterror.h"
#include "crypt/base64.h"
#include "crypt/key.h"
#include "crypt/objectdecode.h"
#include "log_writer.h"
#include "secret_wipe.h"
#include "text_helpers.h"

namespace PayCrypt {
namespace {

constexpr int kKeyBytes = 512;         // the decoded public-key information
constexpr DWORD kKeyInfoBytes = 1024;  // the decoded structure with its data
constexpr DWORD kBlockBytes = 256;     // one block of a key of up to 2048 bits
constexpr int kTextChars = 384;        // the Base64 of one block

// The provider of the holder, acquired now when the first attempt failed. Two threads may
// both acquire one; the first stored is kept and the other released.
HCRYPTPROV EnsureProvider(ProviderHolder& holder)
{
  HCRYPTPROV current = holder.handle.load();
  if (current != 0) {
    return current;
  }
  HCRYPTPROV fresh = 0;
  AcquireProvider(fresh);
  if (fresh == 0) {
    return 0;
  }
  if (holder.handle.compare_exchange_strong(current, fresh)) {
    return fresh;
  }
  CryptReleaseContext(fresh, 0);
  return current;
}

// An imported key, destroyed when it goes out of scope.
class ImportedKey {
 public:
  ImportedKey() = default;
  ~ImportedKey()
  {
    if (key_ != 0) {
      CryptDestroyKey(key_);
    }
  }
  ImportedKey(const ImportedKey&) = delete;
  ImportedKey& operator=(const ImportedKey&) = delete;
  HCRYPTKEY* Out() { return &key_; }
  HCRYPTKEY Get() const { return key_; }

 private:
  HCRYPTKEY key_ = 0;
};

}  // namespace

ProviderHolder* GetProvider()
{
  static ProviderHolder* const holder = [] {
    auto* created = new ProviderHolder;
    HCRYPTPROV handle = 0;
    AcquireProvider(handle);
    created->handle.store(handle);
    return created;
  }();
  return holder;
}

DWORD AcquireProvider(HCRYPTPROV& handle)
{
  if (CryptAcquireContextW(&handle, nullptr, MS_ENHANCED_PROV_W, PROV_RSA_FULL, 0) ||
      CryptAcquireContextW(&handle, nullptr, MS_ENHANCED_PROV_W, PROV_RSA_FULL, CRYPT_NEWKEYSET)) {
    return TRUE;
  }
  handle = 0;
  return GetLastError();
}

CStringW& Encrypt(ProviderHolder* provider, CStringW& out, const WCHAR* plainText, const WCHAR* publicKey, BOOL reverse)
{
  out.Empty();
  CStringA keyText(publicKey);
  BYTE keyBytes[kKeyBytes];
  int keyLength = kKeyBytes;
  if (!Base64Decode(keyText, keyText.GetLength(), keyBytes, &keyLength)) {
    WRITE_LOG_ENTRY(u"");
    return out;
  }
  HCRYPTPROV handle = provider != nullptr ? EnsureProvider(*provider) : 0;
  if (handle == 0) {
    WRITE_LOG_ENTRY(u"");
    return out;
  }
  alignas(CERT_PUBLIC_KEY_INFO) BYTE keyInfo[kKeyInfoBytes];
  DWORD keyInfoSize = kKeyInfoBytes;
  if (!CryptDecodeObjectEx(X509_ASN_ENCODING, X509_PUBLIC_KEY_INFO, keyBytes, static_cast<DWORD>(keyLength), 0,
                           nullptr, keyInfo, &keyInfoSize)) {
    WRITE_LOG_ENTRY(u"");
    return out;
  }
  ImportedKey key;
  if (!CryptImportPublicKeyInfoEx(handle, X509_ASN_ENCODING, reinterpret_cast<PCERT_PUBLIC_KEY_INFO>(keyInfo),
                                  CALG_RSA_KEYX, 0, nullptr, key.Out())) {
    WRITE_LOG_ENTRY(u"");
    return out;
  }

  BYTE block[kBlockBytes];
  SecretWiper wipeBlock(block, sizeof block);
  // The plain text must fit the buffer; one longer than the key takes is refused by the
  // encryption itself.
  int plainLength = ToAnsi(plainText, reinterpret_cast<char*>(block), sizeof block);
  if (plainLength < 0) {
    WRITE_LOG_ENTRY(u"");
    return out;
  }
  DWORD length = static_cast<DWORD>(plainLength);
  if (!CryptEncrypt(key.Get(), 0, TRUE, 0, block, &length, kBlockBytes) || length > kBlockBytes) {
    WRITE_LOG_ENTRY(u"");
    return out;
  }
  if (reverse) {
    std::reverse(block, block + length);
  }
  char text[kTextChars];
  int textLength = kTextChars;
  if (!Base64Encode(block, static_cast<int>(length), text, &textLength, ATL_BASE64_FLAG_NOCRLF)) {
    WRITE_LOG_ENTRY(u"");
    return out;
  }
  out = CStringW(CStringA(text, textLength));
  return out;
}

}  // namespace PayCrypt
