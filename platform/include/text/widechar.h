// The run-time library's wide-character helpers over the device's UTF-16 text (WCHAR is
// char16_t). They overload the C library's wchar_t functions, so both can be used in one file.
// Everything is locale-independent and works on UTF-16 code units.
//
// Character classes and case:
// - iswspace: the Unicode white space (tab to carriage return, blank, U+0085, U+00A0, U+1680,
//   U+2000..U+200A, U+2028, U+2029, U+202F, U+205F and the ideographic space U+3000).
// - iswdigit and iswxdigit: ASCII digits only (the number converters accept nothing else).
// - towlower/towupper: simple one-to-one case mapping of ASCII, Latin-1, Latin Extended-A,
//   Latin Extended Additional, Greek, Cyrillic, Armenian, Roman numerals, circled letters and
//   the full-width Latin letters; every other unit maps to itself. iswupper/iswlower follow them.
// - iswalpha: the cased letters above plus the letters of the common uncased scripts (CJK
//   ideographs, kana, bopomofo, Hangul, Hebrew, Arabic, Thai, Yi), as the device classifies them.
// - iswpunct: ASCII punctuation, Latin-1 signs and the general, CJK and full-width punctuation
//   and symbol blocks. iswcntrl: U+0000..U+001F and U+007F..U+009F. iswprint: every unit from
//   the blank up that is not a control, a surrogate or U+FFFE/U+FFFF.
// - _wcsicmp/_wcsnicmp fold ASCII letters only, to lower case, as the run-time does in its
//   default locale ("_" sorts before "a" and "A").
//
// Numbers: wcstol/_wtol saturate at the device's 32-bit LONG, wcstoul at 32-bit ULONG, _wtoi64 at
// 64 bits; they skip leading white space (iswspace) and set errno to ERANGE on overflow.
// wcstod/_wtof read decimal numbers only ([sign] digits [. digits] [e [sign] digits]), rounding
// correctly; overflow gives +-HUGE_VAL and ERANGE. Null pointers are the caller's error, as in
// the C library, except for wcslen, which gives 0.
#pragma once

// The C library's declarations come first, so that the std:: names they bring in stay the C
// library's alone.
#include <cstdlib>
#include <cwchar>
#include <cwctype>

#include "base/types.h"

size_t wcslen(const WCHAR* s);
int wcscmp(const WCHAR* a, const WCHAR* b);
int wcsncmp(const WCHAR* a, const WCHAR* b, size_t count);
int _wcsicmp(const WCHAR* a, const WCHAR* b);
int wcsicmp(const WCHAR* a, const WCHAR* b);
int _wcsnicmp(const WCHAR* a, const WCHAR* b, size_t count);
int wcsnicmp(const WCHAR* a, const WCHAR* b, size_t count);

WCHAR* wcscpy(WCHAR* dst, const WCHAR* src);
// Copies at most count units and pads with zeros up to count; no terminator when src is longer.
WCHAR* wcsncpy(WCHAR* dst, const WCHAR* src, size_t count);
WCHAR* wcscat(WCHAR* dst, const WCHAR* src);
// Appends at most count units of src, then always a terminator.
WCHAR* wcsncat(WCHAR* dst, const WCHAR* src, size_t count);
// A copy made with malloc (release it with free); null when memory is short.
WCHAR* _wcsdup(const WCHAR* s);

const WCHAR* wcschr(const WCHAR* s, WCHAR c);
WCHAR* wcschr(WCHAR* s, WCHAR c);
const WCHAR* wcsrchr(const WCHAR* s, WCHAR c);
WCHAR* wcsrchr(WCHAR* s, WCHAR c);
const WCHAR* wcsstr(const WCHAR* s, const WCHAR* sub);
WCHAR* wcsstr(WCHAR* s, const WCHAR* sub);
const WCHAR* wcspbrk(const WCHAR* s, const WCHAR* set);
WCHAR* wcspbrk(WCHAR* s, const WCHAR* set);
size_t wcsspn(const WCHAR* s, const WCHAR* set);
size_t wcscspn(const WCHAR* s, const WCHAR* set);

int _wtoi(const WCHAR* s);
LONG _wtol(const WCHAR* s);
__int64 _wtoi64(const WCHAR* s);
double _wtof(const WCHAR* s);
LONG wcstol(const WCHAR* s, WCHAR** end, int base);
ULONG wcstoul(const WCHAR* s, WCHAR** end, int base);
double wcstod(const WCHAR* s, WCHAR** end);

// Write the value in the radix (2 to 36, lower-case letters) and return buffer. A negative value
// gets a minus sign in radix 10 only; other radixes show its two's complement. The buffer must
// hold 33 units (65 for the 64-bit forms). An invalid radix gives an empty text.
WCHAR* _itow(int value, WCHAR* buffer, int radix);
WCHAR* _ltow(LONG value, WCHAR* buffer, int radix);
WCHAR* _ultow(ULONG value, WCHAR* buffer, int radix);
WCHAR* _i64tow(__int64 value, WCHAR* buffer, int radix);
WCHAR* _ui64tow(ULONGLONG value, WCHAR* buffer, int radix);

WCHAR towlower(WCHAR c);
WCHAR towupper(WCHAR c);
int iswspace(WCHAR c);
int iswdigit(WCHAR c);
int iswxdigit(WCHAR c);
int iswalpha(WCHAR c);
int iswalnum(WCHAR c);
int iswupper(WCHAR c);
int iswlower(WCHAR c);
int iswpunct(WCHAR c);
int iswcntrl(WCHAR c);
int iswprint(WCHAR c);

// The int forms take a UTF-16 unit held in an int (a char, a sum); values outside 0..0xFFFF are in
// no class and map to themselves. They keep calls with int arguments from being ambiguous
// between these and the C library's wint_t functions.
int towlower(int c);
int towupper(int c);
int iswspace(int c);
int iswdigit(int c);
int iswxdigit(int c);
int iswalpha(int c);
int iswalnum(int c);
int iswupper(int c);
int iswlower(int c);
int iswpunct(int c);
int iswcntrl(int c);
int iswprint(int c);
