#include "crypt/base64.h"

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr int kLineLength = 76;

// The six-bit value of an alphabet character, or -1 for any other character.
int DecodeChar(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

}  // namespace

int Base64EncodeGetRequiredLength(int nSrcLen, DWORD dwFlags) {
  if (nSrcLen <= 0) return 0;
  const long long whole = nSrcLen / 3;
  const int rest = nSrcLen % 3;
  long long length = whole * 4;
  if (rest != 0) length += (dwFlags & ATL_BASE64_FLAG_NOPAD) ? rest + 1 : 4;
  if (!(dwFlags & ATL_BASE64_FLAG_NOCRLF)) length += 2 * ((length - 1) / kLineLength);
  return static_cast<int>(length);
}

int Base64DecodeGetRequiredLength(int nSrcLen) { return nSrcLen; }

BOOL Base64Encode(const BYTE* pbSrcData, int nSrcLen, LPSTR szDest, int* pnDestLen, DWORD dwFlags) {
  if (pbSrcData == nullptr || szDest == nullptr || pnDestLen == nullptr || nSrcLen < 0) return FALSE;
  if (*pnDestLen < Base64EncodeGetRequiredLength(nSrcLen, dwFlags)) return FALSE;

  const bool lineBreaks = !(dwFlags & ATL_BASE64_FLAG_NOCRLF);
  const bool pad = !(dwFlags & ATL_BASE64_FLAG_NOPAD);
  int written = 0;
  int onLine = 0;
  auto put = [&](char c) {
    if (lineBreaks && onLine == kLineLength) {
      szDest[written++] = '\r';
      szDest[written++] = '\n';
      onLine = 0;
    }
    szDest[written++] = c;
    ++onLine;
  };

  for (int i = 0; i < nSrcLen; i += 3) {
    const int count = nSrcLen - i < 3 ? nSrcLen - i : 3;
    DWORD group = static_cast<DWORD>(pbSrcData[i]) << 16;
    if (count > 1) group |= static_cast<DWORD>(pbSrcData[i + 1]) << 8;
    if (count > 2) group |= pbSrcData[i + 2];
    for (int k = 0; k < 4; ++k) {
      if (k <= count) {
        put(kAlphabet[(group >> (18 - 6 * k)) & 0x3F]);
      } else if (pad) {
        put('=');
      }
    }
  }
  *pnDestLen = written;
  return TRUE;
}

BOOL Base64Decode(LPCSTR szSrc, int nSrcLen, BYTE* pbDest, int* pnDestLen) {
  if (szSrc == nullptr || pnDestLen == nullptr || nSrcLen < 0) return FALSE;

  const int room = pbDest != nullptr ? *pnDestLen : 0;
  bool overflow = pbDest == nullptr;
  int needed = 0;
  int pos = 0;
  while (pos < nSrcLen && szSrc[pos] != '\0') {
    // Gather up to four alphabet characters, skipping everything else.
    DWORD group = 0;
    int bits = 0;
    while (bits < 24 && pos < nSrcLen && szSrc[pos] != '\0') {
      const int value = DecodeChar(szSrc[pos++]);
      if (value < 0) continue;
      group = (group << 6) | static_cast<DWORD>(value);
      bits += 6;
    }
    const int bytes = bits / 8;
    if (!overflow && needed + bytes > room) overflow = true;
    group <<= 24 - bits;
    for (int k = 0; k < bytes; ++k) {
      if (!overflow) pbDest[needed] = static_cast<BYTE>(group >> (16 - 8 * k));
      ++needed;
    }
  }
  *pnDestLen = needed;
  return overflow ? FALSE : TRUE;
}
