// Texts of the web pages the shell's browser dialogs show: the addresses they watch, the form
// bodies they send and the client identity they add.
#pragma once

#include <string>
#include <string_view>

#include "text/cstring.h"

// Percent sequences turned into the bytes they stand for; every other byte (a "+" included) as
// it is. A "%" not followed by two hexadecimal digits stays.
std::string PercentDecode(std::string_view bytes);

// The text as bytes of the code page (CP_UTF8 or the ANSI code page), percent-decoded, and read
// back in the same code page.
CStringW UnescapeInCodePage(const CStringW& text, UINT codePage);

// The code page a page's character set names: the ANSI code page for "gbk", "gb2312" and
// "gb18030" (any case), else UTF-8.
UINT CodePageOfCharset(const CStringW& charset);

// The text as UTF-8 with every byte outside A-Z a-z 0-9 - . _ ~ as "%XX".
CStringW EscapeForForm(const CStringW& text);

// The text as UTF-8 bytes, and back.
std::string ToUtf8(const CStringW& text);
CStringW FromUtf8(std::string_view bytes);

// Whether the needle occurs in the text at a position after its first character.
bool ContainsAfterStart(const CStringW& text, const WCHAR* needle);

// The text after the first "key" found from position from (and after the text's first
// character), up to the next "&" or the end; empty when the key is not there.
CStringW ValueAfterKey(const CStringW& text, const WCHAR* key, int from = 0);

// Whether the URL leads to the configured gateway over https (scheme, host and port alike,
// without regard to case).
bool IsGatewayPage(const CStringW& url);

// The reference resolved against the page's absolute address: as it is when it names its own
// scheme, on the page's server when it starts with "/", else beside the page.
CStringW ResolveAgainst(const CStringW& base, const CStringW& reference);
