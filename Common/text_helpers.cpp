#include "text_helpers.h"

#include "crypt/base64.h"
#include "log_writer.h"
#include "text/codepage.h"

namespace {

constexpr int kBase64BufferSize = 1024;

}  // namespace

void EllipsizeString(CStringW& text, int maxLength)
{
  int length = text.GetLength();
  if (maxLength >= length || length <= 1) {
    return;
  }
  if (maxLength > 2) {
    text = text.Left(maxLength - 2) + u"..";
  } else {
    text = text.Left(2);
  }
}

void ToHalfWidth(CStringW& text)
{
  for (int i = 0; i < text.GetLength(); ++i) {
    WCHAR c = text[i];
    if (c == 0x3000) {
      text.SetAt(i, u' ');
    } else if (c >= 0xFF01 && c <= 0xFF5E) {
      text.SetAt(i, static_cast<WCHAR>(c - 0xFEE0));
    }
  }
}

int ToAnsi(const WCHAR* text, char* buffer, int size)
{
  if (buffer == nullptr || size <= 0) {
    return -1;
  }
  buffer[0] = '\0';
  if (text == nullptr || *text == u'\0') {
    return 0;
  }
  int written = WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, size, nullptr, nullptr);
  if (written <= 0) {
    buffer[0] = '\0';
    return -1;
  }
  return written - 1;
}

BOOL Base64EncodeString(const WCHAR* text, CStringW& out)
{
  CStringA bytes(text);
  char encoded[kBase64BufferSize];
  int length = kBase64BufferSize;
  if (!Base64Encode(reinterpret_cast<const BYTE*>(bytes.GetString()), bytes.GetLength(), encoded, &length,
                    ATL_BASE64_FLAG_NOCRLF)) {
    WRITE_LOG_ENTRY(u"");
    return FALSE;
  }
  out = CStringW(CStringA(encoded, length));
  return TRUE;
}

BOOL Base64DecodeString(const WCHAR* text, CStringW& out)
{
  CStringA encoded(text);
  BYTE decoded[kBase64BufferSize];
  int length = kBase64BufferSize;
  if (!Base64Decode(encoded, encoded.GetLength(), decoded, &length)) {
    WRITE_LOG_ENTRY(u"");
    return FALSE;
  }
  length = length < kBase64BufferSize - 1 ? length : kBase64BufferSize - 1;
  decoded[length] = 0;
  out = CStringW(reinterpret_cast<const char*>(decoded));
  return TRUE;
}
