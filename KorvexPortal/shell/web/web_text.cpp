#include "web_text.h"

#include <cwctype>

#include "gateway_address.h"
#include "text/codepage.h"

namespace {

int HexValue(char c)
{
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

std::string ToCodePage(const CStringW& text, UINT codePage)
{
  if (text.IsEmpty())
    return std::string();
  int size = WideCharToMultiByte(codePage, 0, text.GetString(), text.GetLength(), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0)
    WideCharToMultiByte(codePage, 0, text.GetString(), text.GetLength(), bytes.data(), size, nullptr, nullptr);
  return bytes;
}

CStringW FromCodePage(std::string_view bytes, UINT codePage)
{
  if (bytes.empty())
    return CStringW();
  int length = static_cast<int>(bytes.size());
  int size = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
  if (size <= 0)
    return CStringW();
  CStringW text;
  WCHAR* buffer = text.GetBuffer(size);
  MultiByteToWideChar(codePage, 0, bytes.data(), length, buffer, size);
  text.ReleaseBuffer(size);
  return text;
}

CStringW Lower(CStringW text)
{
  text.MakeLower();
  return text;
}

}  // namespace

std::string PercentDecode(std::string_view bytes)
{
  std::string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    int high = i + 2 < bytes.size() && bytes[i] == '%' ? HexValue(bytes[i + 1]) : -1;
    int low = high >= 0 ? HexValue(bytes[i + 2]) : -1;
    if (low >= 0) {
      out.push_back(static_cast<char>(high * 16 + low));
      i += 2;
    } else {
      out.push_back(bytes[i]);
    }
  }
  return out;
}

CStringW UnescapeInCodePage(const CStringW& text, UINT codePage)
{
  return FromCodePage(PercentDecode(ToCodePage(text, codePage)), codePage);
}

UINT CodePageOfCharset(const CStringW& charset)
{
  CStringW name = Lower(charset);
  if (name == u"gbk" || name == u"gb2312" || name == u"gb18030")
    return GetACP();
  return CP_UTF8;
}

CStringW EscapeForForm(const CStringW& text)
{
  static constexpr char kHex[] = "0123456789ABCDEF";
  CStringW out;
  for (unsigned char c : ToUtf8(text)) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
        c == '_' || c == '~') {
      out += static_cast<WCHAR>(c);
    } else {
      out += u'%';
      out += static_cast<WCHAR>(kHex[c >> 4]);
      out += static_cast<WCHAR>(kHex[c & 0x0F]);
    }
  }
  return out;
}

std::string ToUtf8(const CStringW& text)
{
  return ToCodePage(text, CP_UTF8);
}

CStringW FromUtf8(std::string_view bytes)
{
  return FromCodePage(bytes, CP_UTF8);
}

bool ContainsAfterStart(const CStringW& text, const WCHAR* needle)
{
  return text.Find(needle) > 0;
}

CStringW ValueAfterKey(const CStringW& text, const WCHAR* key, int from)
{
  int at = text.Find(key, from);
  if (at <= 0)
    return CStringW();
  int start = at + static_cast<int>(std::char_traits<WCHAR>::length(key));
  int end = text.Find(u'&', start);
  return end < 0 ? text.Mid(start) : text.Mid(start, end - start);
}

bool IsGatewayPage(const CStringW& url)
{
  CStringW host = GetGatewayHost();
  if (host.IsEmpty())
    return false;
  CStringW prefix = Lower(u"https://" + host);
  CStringW lower = Lower(url);
  if (lower.GetLength() < prefix.GetLength() || lower.Left(prefix.GetLength()) != prefix)
    return false;
  // The host must end where the prefix ends: "https://gw:8443x" is another host.
  if (lower.GetLength() == prefix.GetLength())
    return true;
  WCHAR next = lower[prefix.GetLength()];
  return next == u'/' || next == u'?' || next == u'#';
}

CStringW ResolveAgainst(const CStringW& base, const CStringW& reference)
{
  int scheme = base.Find(u"://");
  if (reference.IsEmpty() || reference.Find(u"://") > 0 || scheme <= 0)
    return reference;
  int pathStart = base.Find(u'/', scheme + 3);
  CStringW origin = pathStart < 0 ? base : base.Left(pathStart);
  if (reference[0] == u'/')
    return origin + reference;
  int queryStart = base.FindOneOf(u"?#");
  CStringW path = queryStart < 0 ? base : base.Left(queryStart);
  int lastSlash = path.ReverseFind(u'/');
  return lastSlash < scheme + 3 ? origin + u"/" + reference : path.Left(lastSlash + 1) + reference;
}
