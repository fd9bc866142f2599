// MultiByteToWideChar and WideCharToMultiByte over UTF-8 and the ANSI code page 936.
#include "text/codepage.h"

#include <climits>
#include <cstring>

#include "ansi_text.h"
#include "base/errors.h"
#include "base/lasterror.h"
#include "gbk_table.h"

namespace {

using kv::text::GbkTable;

constexpr char16_t kReplacement = 0xFFFD;  // invalid UTF-8
constexpr char16_t kAnsiReplacement = u'?';  // invalid 936 bytes
constexpr UINT kAnsiCodePage = 936;

enum class Codec { Utf8, Gbk, Unsupported };

Codec CodecOf(UINT codePage)
{
  switch (codePage) {
    case CP_UTF8:
      return Codec::Utf8;
    case CP_ACP:
    case CP_OEMCP:
    case CP_THREAD_ACP:
    case kAnsiCodePage:
      return Codec::Gbk;
    default:
      return Codec::Unsupported;
  }
}

// Counts what a conversion produces and stores it while it fits.
template <class T>
struct Output {
  T* buffer;
  size_t capacity;
  size_t count = 0;

  void Put(T unit)
  {
    if (count < capacity)
      buffer[count] = unit;
    ++count;
  }
};

bool IsContinuation(uint8_t b)
{
  return (b & 0xC0) == 0x80;
}

// Decodes UTF-8; each maximal invalid sequence becomes U+FFFD, or fails when strict.
template <class Out>
bool DecodeUtf8(const uint8_t* s, size_t n, bool strict, Out& out)
{
  size_t i = 0;
  while (i < n) {
    uint8_t b = s[i];
    if (b < 0x80) {
      out.Put(b);
      ++i;
      continue;
    }
    int more = 0;
    uint32_t cp = 0;
    uint8_t low = 0x80, high = 0xBF;  // the range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
      more = 1;
      cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      more = 2;
      cp = b & 0x0F;
      if (b == 0xE0)
        low = 0xA0;
      else if (b == 0xED)
        high = 0x9F;  // no encoded surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
      more = 3;
      cp = b & 0x07;
      if (b == 0xF0)
        low = 0x90;
      else if (b == 0xF4)
        high = 0x8F;
    }
    size_t j = i + 1;
    bool valid = more > 0;
    for (int k = 0; valid && k < more; ++k) {
      if (j >= n || !IsContinuation(s[j]) || (k == 0 && (s[j] < low || s[j] > high))) {
        valid = false;
      } else {
        cp = cp << 6 | (s[j] & 0x3F);
        ++j;
      }
    }
    if (!valid) {
      // The maximal invalid sequence (the lead byte and the continuation bytes that fitted) is
      // one replacement character.
      if (strict)
        return false;
      out.Put(kReplacement);
      i = j;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.Put(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.Put(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.Put(static_cast<char16_t>(cp));
    }
    i = j;
  }
  return true;
}

template <class Out>
bool EncodeUtf8(const char16_t* s, size_t n, bool strict, Out& out)
{
  for (size_t i = 0; i < n; ++i) {
    uint32_t cp = s[i];
    if (cp >= 0xD800 && cp <= 0xDFFF) {
      if (cp <= 0xDBFF && i + 1 < n && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
        ++i;
      } else if (strict) {
        return false;
      } else {
        cp = kReplacement;
      }
    }
    if (cp < 0x80) {
      out.Put(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.Put(static_cast<char>(0xC0 | cp >> 6));
      out.Put(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.Put(static_cast<char>(0xE0 | cp >> 12));
      out.Put(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
      out.Put(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.Put(static_cast<char>(0xF0 | cp >> 18));
      out.Put(static_cast<char>(0x80 | (cp >> 12 & 0x3F)));
      out.Put(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
      out.Put(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return true;
}

// Decodes 936: ASCII, the single byte 0x80, and lead/trail pairs. An undefined pair is one
// invalid character; a lead byte without a valid trail byte is invalid alone.
template <class Out>
bool DecodeGbk(const uint8_t* s, size_t n, bool strict, Out& out)
{
  const GbkTable* table = nullptr;
  for (size_t i = 0; i < n;) {
    uint8_t b = s[i];
    if (b < 0x80) {
      out.Put(b);
      ++i;
      continue;
    }
    if (!table)
      table = &GbkTable::Get();
    char16_t unit = table->single[b];
    size_t used = 1;
    if (unit == 0 && GbkTable::IsLead(b) && i + 1 < n && GbkTable::IsTrail(s[i + 1])) {
      unit = table->pair[b - 0x81][s[i + 1] - 0x40];
      used = 2;
    }
    if (unit == 0) {
      if (strict)
        return false;
      unit = kAnsiReplacement;
    }
    out.Put(unit);
    i += used;
  }
  return true;
}

// The bytes of a unit in 936, or 0 when it has none (the unit 0 itself is written directly).
uint16_t GbkBytes(char16_t unit)
{
  return unit < 0x80 ? unit : GbkTable::Get().encode[unit];
}

template <class Out>
void PutGbk(uint16_t bytes, Out& out)
{
  if (bytes >= 0x100)
    out.Put(static_cast<char>(bytes >> 8));
  out.Put(static_cast<char>(bytes & 0xFF));
}

// Encodes 936 unit by unit; a unit without a form (a surrogate included) takes defaultChar.
template <class Out>
void EncodeGbk(const char16_t* s, size_t n, std::string_view defaultChar, bool& usedDefault, Out& out)
{
  usedDefault = false;
  for (size_t i = 0; i < n; ++i) {
    uint16_t bytes = GbkBytes(s[i]);
    if (bytes != 0 || s[i] == 0) {
      PutGbk(bytes, out);
      continue;
    }
    usedDefault = true;
    for (char c : defaultChar)
      out.Put(c);
  }
}

int Fail(DWORD error)
{
  SetLastError(error);
  return 0;
}

// Finishes a conversion: the needed size when asked, else the count when it fitted.
template <class T>
int Finish(const Output<T>& out, int capacity)
{
  if (out.count > static_cast<size_t>(INT_MAX))
    return Fail(ERROR_INSUFFICIENT_BUFFER);
  if (capacity != 0 && out.count > static_cast<size_t>(capacity))
    return Fail(ERROR_INSUFFICIENT_BUFFER);
  return static_cast<int>(out.count);
}

// The default character for 936: the first character of the caller's text, or '?'.
std::string_view DefaultCharOf(LPCSTR lpDefaultChar)
{
  if (!lpDefaultChar)
    return "?";
  auto first = static_cast<uint8_t>(lpDefaultChar[0]);
  bool pair = GbkTable::IsLead(first) && GbkTable::IsTrail(static_cast<uint8_t>(lpDefaultChar[1]));
  return std::string_view(lpDefaultChar, pair ? 2 : 1);
}

}  // namespace

int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte, LPWSTR lpWideCharStr,
                        int cchWideChar)
{
  if (!lpMultiByteStr || cbMultiByte == 0 || cbMultiByte < -1 || cchWideChar < 0 ||
      (cchWideChar > 0 && !lpWideCharStr) ||
      (lpWideCharStr && static_cast<const void*>(lpWideCharStr) == static_cast<const void*>(lpMultiByteStr)))
    return Fail(ERROR_INVALID_PARAMETER);
  Codec codec = CodecOf(CodePage);
  if (codec == Codec::Unsupported)
    return Fail(ERROR_INVALID_PARAMETER);
  DWORD allowed = codec == Codec::Utf8 ? MB_ERR_INVALID_CHARS
                                       : MB_PRECOMPOSED | MB_COMPOSITE | MB_USEGLYPHCHARS | MB_ERR_INVALID_CHARS;
  if ((dwFlags & ~allowed) != 0 || (dwFlags & (MB_PRECOMPOSED | MB_COMPOSITE)) == (MB_PRECOMPOSED | MB_COMPOSITE))
    return Fail(ERROR_INVALID_FLAGS);

  size_t length = cbMultiByte == -1 ? std::strlen(lpMultiByteStr) + 1 : static_cast<size_t>(cbMultiByte);
  const auto* bytes = reinterpret_cast<const uint8_t*>(lpMultiByteStr);
  bool strict = (dwFlags & MB_ERR_INVALID_CHARS) != 0;
  Output<char16_t> out{lpWideCharStr, static_cast<size_t>(cchWideChar)};
  bool ok = codec == Codec::Utf8 ? DecodeUtf8(bytes, length, strict, out) : DecodeGbk(bytes, length, strict, out);
  if (!ok)
    return Fail(ERROR_NO_UNICODE_TRANSLATION);
  return Finish(out, cchWideChar);
}

int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar, LPSTR lpMultiByteStr,
                        int cbMultiByte, LPCSTR lpDefaultChar, LPBOOL lpUsedDefaultChar)
{
  if (!lpWideCharStr || cchWideChar == 0 || cchWideChar < -1 || cbMultiByte < 0 || (cbMultiByte > 0 && !lpMultiByteStr) ||
      (lpMultiByteStr && static_cast<const void*>(lpMultiByteStr) == static_cast<const void*>(lpWideCharStr)))
    return Fail(ERROR_INVALID_PARAMETER);
  Codec codec = CodecOf(CodePage);
  if (codec == Codec::Unsupported)
    return Fail(ERROR_INVALID_PARAMETER);

  size_t length = 0;
  if (cchWideChar == -1) {
    while (lpWideCharStr[length])
      ++length;
    ++length;
  } else {
    length = static_cast<size_t>(cchWideChar);
  }
  Output<char> out{lpMultiByteStr, static_cast<size_t>(cbMultiByte)};
  if (codec == Codec::Utf8) {
    if ((dwFlags & ~static_cast<DWORD>(WC_ERR_INVALID_CHARS)) != 0)
      return Fail(ERROR_INVALID_FLAGS);
    if (lpDefaultChar || lpUsedDefaultChar)
      return Fail(ERROR_INVALID_PARAMETER);
    if (!EncodeUtf8(lpWideCharStr, length, (dwFlags & WC_ERR_INVALID_CHARS) != 0, out))
      return Fail(ERROR_NO_UNICODE_TRANSLATION);
  } else {
    if ((dwFlags & WC_ERR_INVALID_CHARS) != 0)
      return Fail(ERROR_INVALID_FLAGS);
    bool usedDefault = false;
    EncodeGbk(lpWideCharStr, length, DefaultCharOf(lpDefaultChar), usedDefault, out);
    if (lpUsedDefaultChar)
      *lpUsedDefaultChar = usedDefault ? TRUE : FALSE;
  }
  return Finish(out, cbMultiByte);
}

UINT GetACP()
{
  return kAnsiCodePage;
}

UINT GetOEMCP()
{
  return kAnsiCodePage;
}

BOOL IsDBCSLeadByte(BYTE TestChar)
{
  return GbkTable::IsLead(TestChar) ? TRUE : FALSE;
}

namespace kv::text {
namespace {

// Appends to a string, growing it.
template <class T>
struct Appender {
  std::basic_string<T>& text;
  void Put(T unit) { text.push_back(unit); }
};

}  // namespace

void AppendAnsiAsWide(std::u16string& out, std::string_view ansi)
{
  Appender<char16_t> appender{out};
  DecodeGbk(reinterpret_cast<const uint8_t*>(ansi.data()), ansi.size(), false, appender);
}

void AppendWideAsAnsi(std::string& out, std::u16string_view wide)
{
  Appender<char> appender{out};
  bool usedDefault = false;
  EncodeGbk(wide.data(), wide.size(), "?", usedDefault, appender);
}

size_t AnsiPrefixLength(std::string_view ansi, size_t maxBytes)
{
  size_t i = 0;
  while (i < ansi.size()) {
    size_t next = i + 1;
    if (GbkTable::IsLead(static_cast<uint8_t>(ansi[i])) && next < ansi.size() &&
        GbkTable::IsTrail(static_cast<uint8_t>(ansi[next])))
      ++next;
    if (next > maxBytes)
      break;
    i = next;
  }
  return i;
}

}  // namespace kv::text
