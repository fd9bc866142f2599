// TEMPORARY: ASCII stand-ins for the text layer's one-character routines until it lands.
#pragma once

#include "base/types.h"

inline WCHAR towlower(WCHAR c) { return c >= u'A' && c <= u'Z' ? static_cast<WCHAR>(c + 32) : c; }
inline WCHAR towupper(WCHAR c) { return c >= u'a' && c <= u'z' ? static_cast<WCHAR>(c - 32) : c; }
inline bool iswupper(WCHAR c) { return c >= u'A' && c <= u'Z'; }
inline bool iswlower(WCHAR c) { return c >= u'a' && c <= u'z'; }
