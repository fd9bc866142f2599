// An absolute http or https URL split into the parts a session needs, and the URL length rule
// of the HTTP layer.
#pragma once

#include "base/types.h"
#include "text/cstring.h"

// The longest URL, with its terminator, once escaped (see EscapedUrlLength).
inline constexpr int kMaxUrlLength = 2083;
inline constexpr int kMaxUrlHostLength = 256;
inline constexpr int kMaxUrlPathLength = 2048;

class CHttpUrl {
 public:
  // Parses "scheme://host[:port][/path][?query][#fragment]". The scheme is http or https (any
  // case); a user name, an empty host or port, a port out of range and a host or path longer
  // than the limits make it fail. A failed parse leaves the parts as they were.
  bool Parse(const WCHAR* url);

  bool IsSecure() const { return m_secure; }
  const CStringW& GetHostName() const { return m_host; }
  WORD GetPortNumber() const { return m_port; }
  const CStringW& GetUrlPath() const { return m_path; }      // from "/", "/" when the URL has none
  const CStringW& GetExtraInfo() const { return m_extra; }   // "?query#fragment", either part may be missing
  // The path with its query, without the fragment: what a request names on the server.
  CStringW GetPathAndQuery() const;

 private:
  bool m_secure = false;  // scheme http until a URL is parsed
  CStringW m_host;
  WORD m_port = 80;
  CStringW m_path;
  CStringW m_extra;
};

// The length of the URL's UTF-8 bytes once escaped as a browser would: up to the first "?" or
// "#" every byte outside A-Z a-z 0-9 ! ' ( ) * - . / : _ ~ and "%" counts three, the rest one
// each. -1 when the text is not valid UTF-16.
int EscapedUrlLength(const WCHAR* url);
