// A dialog's items by id: messages, texts and numbers.
#include <string>

#include "dialog_state.h"

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam)
{
  HWND item = GetDlgItem(dialog, id);
  return item ? SendMessageW(item, message, wParam, lParam) : 0;
}

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text)
{
  HWND item = GetDlgItem(dialog, id);
  return item ? SetWindowTextW(item, text) : FALSE;
}

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int bufferChars)
{
  HWND item = GetDlgItem(dialog, id);
  if (!item) {
    if (buffer && bufferChars > 0)
      buffer[0] = 0;
    return 0;
  }
  return static_cast<UINT>(GetWindowTextW(item, buffer, bufferChars));
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned)
{
  std::string digits = isSigned ? std::to_string(static_cast<int>(value)) : std::to_string(value);
  std::u16string text(digits.begin(), digits.end());
  return SetDlgItemTextW(dialog, id, text.c_str());
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned)
{
  if (translated)
    *translated = FALSE;
  WCHAR buffer[32];
  if (!GetDlgItemTextW(dialog, id, buffer, 32))
    return 0;
  const WCHAR* at = buffer;
  while (*at == u' ')
    ++at;
  bool negative = false;
  if (isSigned && *at == u'-') {
    negative = true;
    ++at;
  }
  if (*at < u'0' || *at > u'9')
    return 0;
  unsigned long long value = 0;
  for (; *at >= u'0' && *at <= u'9'; ++at) {
    value = value * 10 + static_cast<unsigned>(*at - u'0');
    if (value > (isSigned ? 0x80000000ull : 0xFFFFFFFFull))
      return 0;  // out of range: not translated
  }
  while (*at == u' ')
    ++at;
  if (*at || (isSigned && !negative && value > 0x7FFFFFFFull))
    return 0;
  if (translated)
    *translated = TRUE;
  return negative ? static_cast<UINT>(-static_cast<long long>(value)) : static_cast<UINT>(value);
}
