#include "http_url.h"

#include "text/codepage.h"

#include <string>

namespace {

bool IsUnreservedByte(unsigned char c)
{
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
    return true;
  }
  switch (c) {
    case '!':
    case '\'':
    case '(':
    case ')':
    case '*':
    case '-':
    case '.':
    case '/':
    case ':':
    case '_':
    case '~':
      return true;
    default:
      return false;
  }
}

}  // namespace

bool CHttpUrl::Parse(const WCHAR* url)
{
  if (url == nullptr) {
    return false;
  }
  CStringW text(url);
  int schemeEnd = text.Find(u"://");
  if (schemeEnd <= 0) {
    return false;
  }
  CStringW scheme = text.Left(schemeEnd);
  bool secure;
  if (scheme.CompareNoCase(u"http") == 0) {
    secure = false;
  } else if (scheme.CompareNoCase(u"https") == 0) {
    secure = true;
  } else {
    return false;
  }

  int authorityStart = schemeEnd + 3;
  int authorityEnd = authorityStart;
  while (authorityEnd < text.GetLength() && text[authorityEnd] != u'/' && text[authorityEnd] != u'?' &&
         text[authorityEnd] != u'#') {
    ++authorityEnd;
  }
  CStringW authority = text.Mid(authorityStart, authorityEnd - authorityStart);
  if (authority.Find(u'@') >= 0) {
    return false;
  }
  CStringW host = authority;
  WORD port = secure ? 443 : 80;
  int colon = authority.ReverseFind(u':');
  if (colon >= 0) {
    host = authority.Left(colon);
    CStringW digits = authority.Mid(colon + 1);
    if (digits.IsEmpty() || digits.GetLength() > 5) {
      return false;
    }
    long value = 0;
    for (int i = 0; i < digits.GetLength(); ++i) {
      if (digits[i] < u'0' || digits[i] > u'9') {
        return false;
      }
      value = value * 10 + (digits[i] - u'0');
    }
    if (value < 1 || value > 65535) {
      return false;
    }
    port = static_cast<WORD>(value);
  }
  if (host.IsEmpty() || host.GetLength() > kMaxUrlHostLength || host.FindOneOf(u" \t\r\n:") >= 0) {
    return false;
  }

  int pathEnd = authorityEnd;
  while (pathEnd < text.GetLength() && text[pathEnd] != u'?' && text[pathEnd] != u'#') {
    ++pathEnd;
  }
  CStringW path = text.Mid(authorityEnd, pathEnd - authorityEnd);
  if (path.IsEmpty()) {
    path = u"/";
  }
  if (path.GetLength() > kMaxUrlPathLength) {
    return false;
  }

  m_secure = secure;
  m_host = host;
  m_port = port;
  m_path = path;
  m_extra = text.Mid(pathEnd);
  return true;
}

CStringW CHttpUrl::GetPathAndQuery() const
{
  int fragment = m_extra.Find(u'#');
  return m_path + (fragment < 0 ? m_extra : m_extra.Left(fragment));
}

int EscapedUrlLength(const WCHAR* url)
{
  int size = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, url, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) {
    return -1;
  }
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, url, -1, bytes.data(), size, nullptr, nullptr);
  bytes.resize(static_cast<size_t>(size - 1));

  int length = 0;
  bool escaping = true;
  for (unsigned char c : bytes) {
    if (c == '?' || c == '#') {
      escaping = false;
    }
    length += (escaping && !IsUnreservedByte(c) && c != '%') ? 3 : 1;
  }
  return length;
}
