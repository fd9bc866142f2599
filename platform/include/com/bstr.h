// BSTR: a UTF-16 text allocated by the system, with its length in bytes in the four bytes before
// the first character and a terminating NUL after the last. It may hold NUL characters; its
// length is the prefix's, not the first NUL's. A null BSTR is the empty text.
#pragma once

#include "base/types.h"

typedef WCHAR OLECHAR;
typedef OLECHAR* LPOLESTR;
typedef const OLECHAR* LPCOLESTR;
typedef OLECHAR* BSTR;

// A copy of a NUL-terminated text; null for a null text or when memory runs out.
BSTR SysAllocString(const OLECHAR* psz);
// cch characters copied from strIn (zeroes when strIn is null), then a NUL; null when memory runs
// out or the length does not fit the prefix.
BSTR SysAllocStringLen(const OLECHAR* strIn, UINT cch);
// Frees a BSTR; null does nothing.
void SysFreeString(BSTR bstrString);
// The length in characters and in bytes (0 for null).
UINT SysStringLen(BSTR pbstr);
UINT SysStringByteLen(BSTR bstr);
