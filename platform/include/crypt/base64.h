// Base64 of the template class library: the standard alphabet with "=" padding.
//
// Base64Encode writes no terminator and breaks the text into lines of 76 characters joined by
// CR LF unless ATL_BASE64_FLAG_NOCRLF is given. It fails (FALSE) when the destination holds fewer
// than Base64EncodeGetRequiredLength characters, and then writes nothing.
//
// Base64Decode reads up to nSrcLen characters or to the first zero. It skips every character
// outside the alphabet (line breaks, "=" and anything else), and each run of four alphabet
// characters gives three bytes (a shorter last run gives what its bits fill). On return
// *pnDestLen holds the number of bytes the whole text decodes to. The result is FALSE when the
// destination is null (a size query) or too small; the runs that fitted have been written.
// Base64DecodeGetRequiredLength is a bound: the source length.
#pragma once

#include "base/types.h"

#define ATL_BASE64_FLAG_NONE 0
#define ATL_BASE64_FLAG_NOPAD 1
#define ATL_BASE64_FLAG_NOCRLF 2

int Base64EncodeGetRequiredLength(int nSrcLen, DWORD dwFlags = ATL_BASE64_FLAG_NONE);
int Base64DecodeGetRequiredLength(int nSrcLen);
BOOL Base64Encode(const BYTE* pbSrcData, int nSrcLen, LPSTR szDest, int* pnDestLen,
                  DWORD dwFlags = ATL_BASE64_FLAG_NONE);
BOOL Base64Decode(LPCSTR szSrc, int nSrcLen, BYTE* pbDest, int* pnDestLen);
