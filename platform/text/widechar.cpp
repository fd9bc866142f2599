// The wide string and number helpers of the run-time library over UTF-16.
#include "text/widechar.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "number_text.h"

namespace {

WCHAR FoldAscii(WCHAR c)
{
  return c >= u'A' && c <= u'Z' ? static_cast<WCHAR>(c + 32) : c;
}

int CompareUnits(WCHAR a, WCHAR b)
{
  return static_cast<int>(a) - static_cast<int>(b);
}

const WCHAR* SkipSpace(const WCHAR* s)
{
  while (iswspace(*s))
    ++s;
  return s;
}

// strtol's and strtoul's rules for an integer of the given bits, saturated by saturate.
template <class Saturate>
auto ToInteger(const WCHAR* s, WCHAR** end, int base, int bits, Saturate saturate)
{
  const WCHAR* start = SkipSpace(s);
  kv::text::ParsedInteger number = kv::text::ParseInteger(start, std::numeric_limits<size_t>::max(), base);
  if (end)
    *end = const_cast<WCHAR*>(number.length ? start + number.length : s);
  bool overflowed = false;
  auto value = saturate(number, bits, &overflowed);
  if (overflowed)
    errno = ERANGE;
  return value;
}

int64_t ToSigned(const WCHAR* s, WCHAR** end, int base, int bits)
{
  return ToInteger(s, end, base, bits, kv::text::SaturateSigned);
}

uint64_t ToUnsigned(const WCHAR* s, WCHAR** end, int base, int bits)
{
  return ToInteger(s, end, base, bits, kv::text::SaturateUnsigned);
}

WCHAR* WriteNumber(uint64_t magnitude, bool negative, WCHAR* buffer, int radix)
{
  if (radix < 2 || radix > 36) {
    buffer[0] = 0;
    return buffer;
  }
  WCHAR digits[64];
  int count = 0;
  do {
    int digit = static_cast<int>(magnitude % radix);
    digits[count++] = static_cast<WCHAR>(digit < 10 ? u'0' + digit : u'a' + digit - 10);
    magnitude /= radix;
  } while (magnitude != 0);
  WCHAR* out = buffer;
  if (negative)
    *out++ = u'-';
  while (count > 0)
    *out++ = digits[--count];
  *out = 0;
  return buffer;
}

WCHAR* WriteSigned(int64_t value, int bits, WCHAR* buffer, int radix)
{
  if (radix == 10 && value < 0)
    return WriteNumber(0 - static_cast<uint64_t>(value), true, buffer, radix);
  uint64_t mask = bits >= 64 ? ~uint64_t{0} : (uint64_t{1} << bits) - 1;
  return WriteNumber(static_cast<uint64_t>(value) & mask, false, buffer, radix);
}

}  // namespace

size_t wcslen(const WCHAR* s)
{
  if (!s)
    return 0;
  const WCHAR* p = s;
  while (*p)
    ++p;
  return static_cast<size_t>(p - s);
}

int wcscmp(const WCHAR* a, const WCHAR* b)
{
  while (*a && *a == *b) {
    ++a;
    ++b;
  }
  return CompareUnits(*a, *b);
}

int wcsncmp(const WCHAR* a, const WCHAR* b, size_t count)
{
  for (; count > 0; --count, ++a, ++b) {
    if (*a != *b || !*a)
      return CompareUnits(*a, *b);
  }
  return 0;
}

int _wcsicmp(const WCHAR* a, const WCHAR* b)
{
  return _wcsnicmp(a, b, std::numeric_limits<size_t>::max());
}

int wcsicmp(const WCHAR* a, const WCHAR* b)
{
  return _wcsicmp(a, b);
}

int _wcsnicmp(const WCHAR* a, const WCHAR* b, size_t count)
{
  for (; count > 0; --count, ++a, ++b) {
    WCHAR x = FoldAscii(*a);
    WCHAR y = FoldAscii(*b);
    if (x != y || !x)
      return CompareUnits(x, y);
  }
  return 0;
}

int wcsnicmp(const WCHAR* a, const WCHAR* b, size_t count)
{
  return _wcsnicmp(a, b, count);
}

WCHAR* wcscpy(WCHAR* dst, const WCHAR* src)
{
  WCHAR* out = dst;
  while ((*out++ = *src++) != 0) {
  }
  return dst;
}

WCHAR* wcsncpy(WCHAR* dst, const WCHAR* src, size_t count)
{
  size_t i = 0;
  for (; i < count && src[i]; ++i)
    dst[i] = src[i];
  for (; i < count; ++i)
    dst[i] = 0;
  return dst;
}

WCHAR* wcscat(WCHAR* dst, const WCHAR* src)
{
  wcscpy(dst + wcslen(dst), src);
  return dst;
}

WCHAR* wcsncat(WCHAR* dst, const WCHAR* src, size_t count)
{
  WCHAR* out = dst + wcslen(dst);
  for (; count > 0 && *src; --count)
    *out++ = *src++;
  *out = 0;
  return dst;
}

WCHAR* _wcsdup(const WCHAR* s)
{
  size_t bytes = (wcslen(s) + 1) * sizeof(WCHAR);
  auto* copy = static_cast<WCHAR*>(std::malloc(bytes));
  if (copy)
    std::memcpy(copy, s, bytes);
  return copy;
}

const WCHAR* wcschr(const WCHAR* s, WCHAR c)
{
  for (;; ++s) {
    if (*s == c)
      return s;
    if (!*s)
      return nullptr;
  }
}

WCHAR* wcschr(WCHAR* s, WCHAR c)
{
  return const_cast<WCHAR*>(wcschr(static_cast<const WCHAR*>(s), c));
}

const WCHAR* wcsrchr(const WCHAR* s, WCHAR c)
{
  const WCHAR* found = nullptr;
  for (;; ++s) {
    if (*s == c)
      found = s;
    if (!*s)
      return found;
  }
}

WCHAR* wcsrchr(WCHAR* s, WCHAR c)
{
  return const_cast<WCHAR*>(wcsrchr(static_cast<const WCHAR*>(s), c));
}

const WCHAR* wcsstr(const WCHAR* s, const WCHAR* sub)
{
  std::u16string_view haystack(s);
  size_t at = haystack.find(std::u16string_view(sub));
  return at == std::u16string_view::npos ? nullptr : s + at;
}

WCHAR* wcsstr(WCHAR* s, const WCHAR* sub)
{
  return const_cast<WCHAR*>(wcsstr(static_cast<const WCHAR*>(s), sub));
}

size_t wcsspn(const WCHAR* s, const WCHAR* set)
{
  size_t n = 0;
  while (s[n] && wcschr(set, s[n]))
    ++n;
  return n;
}

size_t wcscspn(const WCHAR* s, const WCHAR* set)
{
  size_t n = 0;
  while (s[n] && !wcschr(set, s[n]))
    ++n;
  return n;
}

const WCHAR* wcspbrk(const WCHAR* s, const WCHAR* set)
{
  s += wcscspn(s, set);
  return *s ? s : nullptr;
}

WCHAR* wcspbrk(WCHAR* s, const WCHAR* set)
{
  return const_cast<WCHAR*>(wcspbrk(static_cast<const WCHAR*>(s), set));
}

int _wtoi(const WCHAR* s)
{
  return static_cast<int>(ToSigned(s, nullptr, 10, 32));
}

LONG _wtol(const WCHAR* s)
{
  return static_cast<LONG>(ToSigned(s, nullptr, 10, 32));
}

__int64 _wtoi64(const WCHAR* s)
{
  return ToSigned(s, nullptr, 10, 64);
}

double _wtof(const WCHAR* s)
{
  return wcstod(s, nullptr);
}

LONG wcstol(const WCHAR* s, WCHAR** end, int base)
{
  return static_cast<LONG>(ToSigned(s, end, base, 32));
}

ULONG wcstoul(const WCHAR* s, WCHAR** end, int base)
{
  return static_cast<ULONG>(ToUnsigned(s, end, base, 32));
}

double wcstod(const WCHAR* s, WCHAR** end)
{
  const WCHAR* start = SkipSpace(s);
  std::string ascii;
  size_t length = kv::text::ScanRealText(start, std::numeric_limits<size_t>::max(), ascii);
  if (end)
    *end = const_cast<WCHAR*>(length ? start + length : s);
  return length ? kv::text::RealTextToDouble(ascii) : 0.0;
}

WCHAR* _itow(int value, WCHAR* buffer, int radix)
{
  return WriteSigned(value, 32, buffer, radix);
}

WCHAR* _ltow(LONG value, WCHAR* buffer, int radix)
{
  return WriteSigned(value, 32, buffer, radix);
}

WCHAR* _ultow(ULONG value, WCHAR* buffer, int radix)
{
  return WriteNumber(value, false, buffer, radix);
}

WCHAR* _i64tow(__int64 value, WCHAR* buffer, int radix)
{
  return WriteSigned(value, 64, buffer, radix);
}

WCHAR* _ui64tow(ULONGLONG value, WCHAR* buffer, int radix)
{
  return WriteNumber(value, false, buffer, radix);
}
