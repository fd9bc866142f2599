// The C run-time's wide file streams over device paths. _wfopen gives a C library FILE, so
// fseek, ftell, fread, fwrite and fclose work on it as usual.
//
// Text files hold UTF-8. The wide output functions (fwprintf, vfwprintf, fputws) write UTF-16
// text as UTF-8 (an unpaired surrogate becomes U+FFFD); on a stream opened in text mode (the
// default, or "t") they write each line feed as CR LF, as the device does, while a "b" stream
// gets the bytes unchanged. The narrow C functions write their bytes unchanged in both modes.
#pragma once

#include "base/types.h"
#include "text/format.h"

#include <cstdio>

// mode: "r", "w" or "a", optionally with "+" and "t" or "b". A stream shares reading and writing
// with the process's other opens of the file; NULL when the path cannot be opened.
FILE* _wfopen(const WCHAR* filename, const WCHAR* mode);

// The device's formatting (text/format.h); returns the number of characters written, or -1.
int vfwprintf(FILE* stream, const WCHAR* format, kv::FormatArgs args);
template <class... A>
int fwprintf(FILE* stream, const WCHAR* format, const A&... args)
{
  return vfwprintf(stream, format, kv::CaptureArgs(args...));
}

// Returns a non-negative value, or EOF on failure. No line end is added.
int fputws(const WCHAR* text, FILE* stream);
