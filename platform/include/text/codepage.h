// Code pages and conversion between them and UTF-16, with the platform's counting and failure
// rules.
//
// Supported code pages: CP_UTF8 (exact, surrogate pairs included) and the device's ANSI code page
// 936 (GBK, through the C library's iconv tables), which CP_ACP, CP_OEMCP and CP_THREAD_ACP
// name. Any other code page fails with ERROR_INVALID_PARAMETER.
//
// Counting: a source length of -1 means "up to and including the terminator", and the count
// returned then includes it; an explicit length converts exactly that many units (embedded
// zeros included, no terminator added). An output size of 0 returns the size needed and writes
// nothing. A short output buffer fails with ERROR_INSUFFICIENT_BUFFER. Failures return 0 and set
// the thread's last error.
//
// Invalid input: with MB_ERR_INVALID_CHARS (WC_ERR_INVALID_CHARS for UTF-8 output) the call fails
// with ERROR_NO_UNICODE_TRANSLATION. Without it, invalid UTF-8 becomes U+FFFD for each maximal
// invalid sequence, a lone surrogate becomes U+FFFD in UTF-8, an invalid or undefined 936 byte
// sequence becomes '?', and a unit that 936 cannot represent becomes the default character
// ('?' unless lpDefaultChar gives one; *lpUsedDefaultChar reports it). 936 has no best-fit
// mappings and no composition, so the flags that ask for them change nothing.
#pragma once

#include "base/types.h"

#define CP_ACP 0
#define CP_OEMCP 1
#define CP_MACCP 2
#define CP_THREAD_ACP 3
#define CP_UTF7 65000
#define CP_UTF8 65001

#define MB_PRECOMPOSED 0x00000001
#define MB_COMPOSITE 0x00000002
#define MB_USEGLYPHCHARS 0x00000004
#define MB_ERR_INVALID_CHARS 0x00000008

#define WC_DISCARDNS 0x00000010
#define WC_SEPCHARS 0x00000020
#define WC_DEFAULTCHAR 0x00000040
#define WC_ERR_INVALID_CHARS 0x00000080
#define WC_COMPOSITECHECK 0x00000200
#define WC_NO_BEST_FIT_CHARS 0x00000400

int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte, LPWSTR lpWideCharStr,
                        int cchWideChar);
int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar, LPSTR lpMultiByteStr,
                        int cbMultiByte, LPCSTR lpDefaultChar, LPBOOL lpUsedDefaultChar);

// The device's ANSI and OEM code pages: 936.
UINT GetACP();
UINT GetOEMCP();
// Whether the byte starts a double-byte character of the ANSI code page.
BOOL IsDBCSLeadByte(BYTE TestChar);
