// Fuzzes the format engine, the code-page converters and scanning. The first byte picks the
// target; the rest is the format, the bytes to convert, or the text to scan.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "text/text.h"

namespace {

void Check(bool condition)
{
  if (!condition)
    std::abort();
}

std::u16string Units(const uint8_t* data, size_t size)
{
  std::u16string units(size / 2, u'\0');
  std::memcpy(units.data(), data, units.size() * 2);
  return units;
}

// Formats into a small buffer and, for short formats, into a string; both must agree.
template <class T, class Counted, class Whole>
void FormatBoth(const std::basic_string<T>& format, Counted counted, Whole whole)
{
  T buffer[32];
  int result = counted(buffer, 32, format.c_str());
  std::basic_string<T> stored(buffer);  // up to the terminator, which is always there
  Check(stored.size() < 32);
  if (format.size() > 24)
    return;  // short formats keep the whole text small, whatever widths they ask for
  std::basic_string<T> text = whole(format.c_str());
  if (text.find(T(0)) != std::basic_string<T>::npos)
    return;  // %c of a zero
  Check(text.compare(0, stored.size(), stored) == 0);
  Check(result == -1 ? text.size() >= 31 : static_cast<size_t>(result) == text.size());
}

void FuzzFormat(const uint8_t* data, size_t size)
{
  int value = 0;
  auto wideCounted = [&](WCHAR* b, size_t n, const WCHAR* f) {
    return _snwprintf(b, n, f, 42, -1LL, 3.5, u"wide", "\xD6\xD0", nullptr, u'c', &value, -7, 1e300);
  };
  auto wideWhole = [&](const WCHAR* f) {
    CStringW s;
    s.Format(f, 42, -1LL, 3.5, u"wide", "\xD6\xD0", nullptr, u'c', &value, -7, 1e300);
    return std::u16string(s.GetString(), static_cast<size_t>(s.GetLength()));
  };
  FormatBoth(Units(data, size), wideCounted, wideWhole);

  auto narrowCounted = [&](char* b, size_t n, const char* f) {
    return _snprintf(b, n, f, 42, -1LL, 3.5, u"wide", "narrow", nullptr, 'c', &value, -7, 1e-300);
  };
  auto narrowWhole = [&](const char* f) {
    CStringA s;
    s.Format(f, 42, -1LL, 3.5, u"wide", "narrow", nullptr, 'c', &value, -7, 1e-300);
    return std::string(s.GetString(), static_cast<size_t>(s.GetLength()));
  };
  FormatBoth(std::string(reinterpret_cast<const char*>(data), size), narrowCounted, narrowWhole);
}

// A strict conversion that succeeds must round-trip exactly; a lenient one always succeeds.
void FuzzCodePages(const uint8_t* data, size_t size)
{
  if (size == 0)
    return;
  const char* bytes = reinterpret_cast<const char*>(data);
  for (UINT codePage : {static_cast<UINT>(CP_UTF8), static_cast<UINT>(CP_ACP)}) {
    int lenient = MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(size), nullptr, 0);
    Check(lenient > 0);
    std::u16string wide(static_cast<size_t>(lenient), u'\0');
    Check(MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(size), wide.data(), lenient) == lenient);
    int strict = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes, static_cast<int>(size), nullptr, 0);
    int back = WideCharToMultiByte(codePage, 0, wide.data(), lenient, nullptr, 0, nullptr, nullptr);
    Check(back > 0);
    std::string narrow(static_cast<size_t>(back), '\0');
    Check(WideCharToMultiByte(codePage, 0, wide.data(), lenient, narrow.data(), back, nullptr, nullptr) == back);
    if (strict > 0)
      Check(narrow == std::string(bytes, size));
  }
  std::u16string units = Units(data, size);
  if (!units.empty()) {
    int n = WideCharToMultiByte(CP_UTF8, 0, units.data(), static_cast<int>(units.size()), nullptr, 0, nullptr, nullptr);
    Check(n > 0);
  }
}

void FuzzScan(const uint8_t* data, size_t size)
{
  std::string narrow(reinterpret_cast<const char*>(data), size);
  std::u16string wide = Units(data, size);
  double d = 0;
  long l = 0;
  long double ld = 0;
  WCHAR word[8];
  char bytes[8];
  int i = 0;
  swscanf(wide.c_str(), u"%lf", &d);
  swscanf(wide.c_str(), u"%d %7s %[^,]%n", &i, word, word, &i);
  sscanf(narrow.c_str(), "%ld", &l);
  sscanf(narrow.c_str(), "%Lf %s %x %c", &ld, bytes, &i, bytes);
  // The text as a format, against fixed destinations.
  swscanf(u"12 ab 3.5 ,x", wide.c_str(), &i, word, &d, bytes, &l);
  sscanf("12 ab 3.5 ,x", narrow.c_str(), &i, word, &d, bytes, &l);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size == 0 || size > 4096)
    return 0;
  switch (data[0] % 3) {
    case 0:
      FuzzFormat(data + 1, size - 1);
      break;
    case 1:
      FuzzCodePages(data + 1, size - 1);
      break;
    default:
      FuzzScan(data + 1, size - 1);
      break;
  }
  return 0;
}
