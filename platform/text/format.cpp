// The formatting engine: parses printf-style conversions and prints captured arguments with the
// platform's meanings.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

#include "ansi_text.h"
#include "conversions.h"
#include "format_engine.h"

namespace kv::text {
namespace {

using Kind = FormatArg::Kind;


struct Spec {
  bool left = false;
  bool plus = false;
  bool space = false;
  bool alt = false;
  bool zero = false;
  int width = 0;
  int precision = -1;
  SizePrefix size = SizePrefix::None;
  char conversion = 0;
};

uint64_t Mask(int bits)
{
  return bits >= 64 ? ~uint64_t{0} : (uint64_t{1} << bits) - 1;
}

// The raw bits of an argument usable as an integer, sign-extended for signed types.
bool RawIntegerOf(const FormatArg& arg, uint64_t& raw)
{
  switch (arg.kind()) {
    case Kind::Signed:
    case Kind::NarrowChar:
      raw = static_cast<uint64_t>(arg.signedValue());
      return true;
    case Kind::Unsigned:
    case Kind::WideChar:
      raw = arg.unsignedValue();
      return true;
    case Kind::Pointer:
      raw = reinterpret_cast<uintptr_t>(arg.pointer());
      return true;
    default:
      return false;
  }
}

bool IsText(const FormatArg& arg)
{
  return arg.kind() == Kind::WideText || arg.kind() == Kind::NarrowText;
}

// Writes the digits of a finite, non-negative real the way the C library does for f, e, g and a
// (without a's 0x) into [first, last), which holds precision + 400 characters at least.
// Returns the length.
size_t RealDigits(double value, char conversion, int precision, bool alt, char* first, char* last)
{
  size_t length = 0;
  auto print = [&](std::chars_format format, int digits) {
    auto result = digits < 0 ? std::to_chars(first, last, value, format)
                             : std::to_chars(first, last, value, format, digits);
    length = static_cast<size_t>(result.ptr - first);
  };
  auto pointIn = [&](size_t end) { return std::memchr(first, '.', end) != nullptr; };
  auto insert = [&](size_t at, char c) {
    std::memmove(first + at + 1, first + at, length - at);
    first[at] = c;
    ++length;
  };
  char lower = static_cast<char>(conversion | 0x20);
  int p = precision < 0 ? 6 : precision;
  if (lower == 'f') {
    print(std::chars_format::fixed, p);
    if (alt && p == 0)
      first[length++] = '.';
  } else if (lower == 'e') {
    print(std::chars_format::scientific, p);
    if (alt && p == 0)
      insert(1, '.');
  } else if (lower == 'a') {
    print(std::chars_format::hex, precision);
    if (alt && !pointIn(length))
      insert(1, '.');
  } else {  // g: fixed or scientific by the exponent, then without trailing zeros unless #
    p = p == 0 ? 1 : p;
    int exponent = 0;
    if (value != 0) {
      print(std::chars_format::scientific, p - 1);
      const char* e = static_cast<const char*>(std::memchr(first, 'e', length));
      std::from_chars(e + 2, first + length, exponent);
      exponent = e[1] == '-' ? -exponent : exponent;
    }
    bool fixed = p > exponent && exponent >= -4;
    if (fixed)
      print(std::chars_format::fixed, p - 1 - exponent);
    else
      print(std::chars_format::scientific, p - 1);
    size_t mantissaEnd = fixed ? length : static_cast<size_t>(static_cast<char*>(std::memchr(first, 'e', length)) - first);
    if (alt) {
      if (!pointIn(mantissaEnd))
        insert(mantissaEnd, '.');
    } else if (pointIn(mantissaEnd)) {
      size_t kept = mantissaEnd;
      while (first[kept - 1] == '0')
        --kept;
      if (first[kept - 1] == '.')
        --kept;
      std::memmove(first + kept, first + mantissaEnd, length - mantissaEnd);
      length -= mantissaEnd - kept;
    }
  }
  if (conversion >= 'A' && conversion <= 'Z') {
    for (size_t i = 0; i < length; ++i)
      first[i] = first[i] >= 'a' && first[i] <= 'z' ? static_cast<char>(first[i] - 32) : first[i];
  }
  return length;
}

// The sign and radix prefix of a number: at most three characters.
class Prefix {
 public:
  void Sign(bool negative, const Spec& spec)
  {
    if (negative)
      Add("-");
    else if (spec.plus)
      Add("+");
    else if (spec.space)
      Add(" ");
  }
  void Add(std::string_view text)
  {
    for (char c : text)
      text_[length_++] = c;
  }
  std::string_view View() const { return std::string_view(text_, length_); }

 private:
  char text_[3] = {};
  size_t length_ = 0;
};

template <class T>
class Formatter {
 public:
  Formatter(FormatSink<T>& out, FormatArgs args) : out_(out), args_(args) {}

  void Run(const T* format)
  {
    const T* p = format;
    while (*p) {
      const T* literal = p;
      while (*p && *p != '%')
        ++p;
      if (p != literal)
        out_.Append(literal, static_cast<size_t>(p - literal));
      if (!*p)
        break;
      const T* start = p++;
      Spec spec;
      if (!ParseSpec(p, spec)) {
        out_.Append(start, static_cast<size_t>(p - start));  // cut short by the end of the format
        break;
      }
      ++p;
      Convert(spec, start, p);
    }
  }

 private:
  static constexpr bool kWide = std::is_same_v<T, char16_t>;

  const FormatArg* NextArg() { return next_ < args_.size() ? &args_[next_++] : nullptr; }

  static int ClampField(uint64_t value) { return static_cast<int>(std::min<uint64_t>(value, kMaxFormatField)); }

  // A * field: the next argument as an int, or 0 when it is no integer.
  int StarField()
  {
    const FormatArg* arg = NextArg();
    uint64_t raw = 0;
    if (!arg || arg->kind() == Kind::Pointer || !RawIntegerOf(*arg, raw))
      return 0;
    bool negative = (arg->kind() == Kind::Signed || arg->kind() == Kind::NarrowChar) && arg->signedValue() < 0;
    int magnitude = ClampField(negative ? 0 - raw : raw);
    return negative ? -magnitude : magnitude;
  }

  // Reads flags, width, precision, size and the conversion letter; p is left on the letter.
  // False when the format ends first.
  bool ParseSpec(const T*& p, Spec& spec)
  {
    for (;; ++p) {
      if (*p == '-')
        spec.left = true;
      else if (*p == '+')
        spec.plus = true;
      else if (*p == ' ')
        spec.space = true;
      else if (*p == '#')
        spec.alt = true;
      else if (*p == '0')
        spec.zero = true;
      else
        break;
    }
    if (*p == '*') {
      ++p;
      spec.width = StarField();
      if (spec.width < 0) {
        spec.left = true;
        spec.width = -spec.width;
      }
    } else {
      spec.width = ReadNumber(p);
    }
    if (*p == '.') {
      ++p;
      if (*p == '*') {
        ++p;
        spec.precision = StarField();
        if (spec.precision < 0)
          spec.precision = -1;
      } else {
        spec.precision = ReadNumber(p);
      }
    }
    spec.size = ReadSizePrefix(p);
    if (!*p)
      return false;
    spec.conversion = *p < 0x80 ? static_cast<char>(*p) : '?';
    return true;
  }

  static int ReadNumber(const T*& p)
  {
    uint64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
      value = std::min<uint64_t>(value * 10 + static_cast<uint64_t>(*p - '0'), kMaxFormatField);
    return static_cast<int>(value);
  }

  void Convert(Spec& spec, const T* start, const T* end)
  {
    char c = spec.conversion;
    if (c == '%') {
      out_.AppendRepeated('%', 1);
      return;
    }
    if (c == 'n') {
      NextArg();
      return;
    }
    bool known = IsIntegerConversion(c) || IsRealConversion(c) || IsOneOf(c, "cCsSp");
    if (!known) {
      out_.Append(start, static_cast<size_t>(end - start));
      return;
    }
    const FormatArg* arg = NextArg();
    if (!arg)
      WriteAscii(spec, "(missing)");
    else if (IsIntegerConversion(c))
      FormatInteger(spec, *arg);
    else if (IsRealConversion(c))
      FormatReal(spec, *arg);
    else if (c == 'c' || c == 'C')
      FormatChar(spec, *arg);
    else if (c == 's' || c == 'S')
      FormatText(spec, *arg);
    else
      FormatPointer(spec, *arg);
  }

  // An argument that does not fit its conversion prints in its own natural form.
  void FormatNatural(Spec spec, const FormatArg& arg)
  {
    // An integer prints whole, at its own size.
    spec.size = arg.size() == 8 ? SizePrefix::ll
                : arg.size() == 2 ? SizePrefix::h
                : arg.size() == 1 ? SizePrefix::hh
                                  : SizePrefix::None;
    switch (arg.kind()) {
      case Kind::Signed:
        spec.conversion = 'd';
        return FormatInteger(spec, arg);
      case Kind::Unsigned:
        spec.conversion = 'u';
        return FormatInteger(spec, arg);
      case Kind::WideChar:
      case Kind::NarrowChar:
        spec.conversion = 'c';
        return FormatChar(spec, arg);
      case Kind::Real:
        spec.conversion = 'g';
        return FormatReal(spec, arg);
      case Kind::WideText:
      case Kind::NarrowText:
        spec.conversion = 's';
        return FormatText(spec, arg);
      case Kind::Pointer:
        if (!arg.pointer())
          return WriteAscii(spec, "(null)", spec.precision);
        spec.conversion = 'p';
        return FormatPointer(spec, arg);
    }
  }

  void FormatInteger(const Spec& spec, const FormatArg& arg)
  {
    uint64_t raw = 0;
    if (!RawIntegerOf(arg, raw))
      return FormatNatural(spec, arg);
    int bits = IntegerBits(spec.size);
    uint64_t value = raw & Mask(bits);
    bool isSigned = spec.conversion == 'd' || spec.conversion == 'i';
    bool negative = false;
    if (isSigned && bits < 64 && (value >> (bits - 1)) != 0) {
      negative = true;
      value = (0 - value) & Mask(bits);
    } else if (isSigned && bits == 64 && static_cast<int64_t>(value) < 0) {
      negative = true;
      value = 0 - value;
    }
    int base = spec.conversion == 'o' ? 8 : (spec.conversion == 'x' || spec.conversion == 'X' ? 16 : 10);
    const char* digitSet = spec.conversion == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
    char digits[24];
    char* end = digits + sizeof digits;
    char* first = end;
    for (uint64_t v = value; v != 0; v /= base)
      *--first = digitSet[v % base];
    if (value == 0 && spec.precision != 0)
      *--first = '0';
    std::string_view body(first, static_cast<size_t>(end - first));

    Prefix prefix;
    if (isSigned)
      prefix.Sign(negative, spec);
    if (spec.alt && base == 16 && value != 0)
      prefix.Add(spec.conversion == 'X' ? "0X" : "0x");
    size_t zeros = spec.precision > static_cast<int>(body.size()) ? static_cast<size_t>(spec.precision) - body.size() : 0;
    if (spec.alt && base == 8 && zeros == 0 && (body.empty() || body[0] != '0'))
      zeros = 1;
    WriteNumber(spec, prefix.View(), zeros, body, spec.precision < 0);
  }

  void FormatPointer(const Spec& spec, const FormatArg& arg)
  {
    uint64_t raw = 0;
    if (!RawIntegerOf(arg, raw))
      return FormatNatural(spec, arg);
    char digits[2 * sizeof(void*)];
    for (int i = static_cast<int>(sizeof digits) - 1; i >= 0; --i, raw >>= 4)
      digits[i] = "0123456789ABCDEF"[raw & 0xF];
    WriteNumber(spec, {}, 0, std::string_view(digits, sizeof digits), false);
  }

  void FormatReal(const Spec& spec, const FormatArg& arg)
  {
    double value = 0;
    if (arg.kind() == Kind::Real)
      value = arg.real();
    else if (arg.kind() == Kind::Signed || arg.kind() == Kind::NarrowChar)
      value = static_cast<double>(arg.signedValue());
    else if (arg.kind() == Kind::Unsigned || arg.kind() == Kind::WideChar)
      value = static_cast<double>(arg.unsignedValue());
    else
      return FormatNatural(spec, arg);

    Prefix prefix;
    prefix.Sign(std::signbit(value), spec);
    bool upper = spec.conversion >= 'A' && spec.conversion <= 'Z';
    if (!std::isfinite(value)) {
      WriteNumber(spec, prefix.View(), 0, std::isnan(value) ? (upper ? "NAN" : "nan") : (upper ? "INF" : "inf"), false);
      return;
    }
    if ((spec.conversion | 0x20) == 'a')
      prefix.Add(upper ? "0X" : "0x");  // zeros pad after it
    char stack[512];
    std::unique_ptr<char[]> heap;
    size_t room = static_cast<size_t>(std::max(spec.precision, 0)) + 400;
    char* buffer = stack;
    if (room > sizeof stack) {
      heap = std::make_unique<char[]>(room);
      buffer = heap.get();
    }
    size_t length = RealDigits(std::fabs(value), spec.conversion, spec.precision, spec.alt, buffer, buffer + room);
    WriteNumber(spec, prefix.View(), 0, std::string_view(buffer, length), true);
  }

  // Which width a character or text conversion asks for when the argument does not say.
  bool WantsWide(const Spec& spec) const
  {
    if (spec.size == SizePrefix::h || spec.size == SizePrefix::hh)
      return false;
    if (spec.size == SizePrefix::l || spec.size == SizePrefix::w)
      return true;
    bool natural = spec.conversion == 'c' || spec.conversion == 's';
    return natural == kWide;
  }

  void FormatChar(const Spec& spec, const FormatArg& arg)
  {
    uint64_t raw = 0;
    if (arg.kind() == Kind::Pointer || !RawIntegerOf(arg, raw))
      return FormatNatural(spec, arg);
    bool wide = arg.kind() == Kind::WideChar ? true : (arg.kind() == Kind::NarrowChar ? false : WantsWide(spec));
    std::basic_string<T> text;
    if (wide) {
      auto unit = static_cast<uint32_t>(arg.kind() == Kind::WideChar ? raw : raw & 0xFFFF);
      std::u16string units;
      if (unit > 0xFFFF && unit <= 0x10FFFF) {
        units.push_back(static_cast<char16_t>(0xD800 + ((unit - 0x10000) >> 10)));
        units.push_back(static_cast<char16_t>(0xDC00 + ((unit - 0x10000) & 0x3FF)));
      } else {
        units.push_back(static_cast<char16_t>(unit));
      }
      if constexpr (kWide)
        text = units;
      else
        AppendWideAsAnsi(text, units);
    } else {
      char byte = static_cast<char>(raw & 0xFF);
      if constexpr (kWide)
        AppendAnsiAsWide(text, std::string_view(&byte, 1));
      else
        text.push_back(byte);
    }
    WriteText(spec, text.data(), text.size());
  }

  void FormatText(const Spec& spec, const FormatArg& arg)
  {
    if (arg.kind() == Kind::Pointer && !arg.pointer())
      return WriteAscii(spec, "(null)", spec.precision);
    if (!IsText(arg))
      return FormatNatural(spec, arg);
    if (arg.kind() == Kind::WideText ? !arg.wide() : !arg.narrow())
      return WriteAscii(spec, "(null)", spec.precision);
    size_t limit = spec.precision < 0 ? std::numeric_limits<size_t>::max() : static_cast<size_t>(spec.precision);
    if (arg.kind() == Kind::WideText) {
      const char16_t* s = arg.wide();
      if constexpr (kWide) {
        WriteText(spec, s, BoundedLength(s, limit));
      } else {
        std::string ansi;
        AppendWideAsAnsi(ansi, std::u16string_view(s, BoundedLength(s, limit)));
        WriteText(spec, ansi.data(), AnsiPrefixLength(ansi, limit));
      }
      return;
    }
    const char* s = arg.narrow();
    if constexpr (kWide) {
      // A narrow character gives one unit from one or two bytes; read no further than needed.
      std::u16string wide;
      AppendAnsiAsWide(wide, std::string_view(s, BoundedLength(s, limit > SIZE_MAX / 2 ? limit : limit * 2)));
      WriteText(spec, wide.data(), std::min(wide.size(), limit));
    } else {
      WriteText(spec, s, BoundedLength(s, limit));
    }
  }

  template <class U>
  static size_t BoundedLength(const U* s, size_t limit)
  {
    size_t n = 0;
    while (n < limit && s[n])
      ++n;
    return n;
  }

  // Writes a text field: padded to the width with blanks, or zeros with the 0 flag.
  void WriteText(const Spec& spec, const T* text, size_t length)
  {
    size_t pad = static_cast<size_t>(spec.width) > length ? static_cast<size_t>(spec.width) - length : 0;
    T fill = spec.zero && !spec.left ? '0' : ' ';
    if (!spec.left)
      out_.AppendRepeated(fill, pad);
    out_.Append(text, length);
    if (spec.left)
      out_.AppendRepeated(' ', pad);
  }

  void WriteAscii(const Spec& spec, std::string_view ascii, int precision = -1)
  {
    if (precision >= 0 && ascii.size() > static_cast<size_t>(precision))
      ascii = ascii.substr(0, static_cast<size_t>(precision));
    std::basic_string<T> text(ascii.begin(), ascii.end());
    Spec blankPadded = spec;
    blankPadded.zero = false;
    WriteText(blankPadded, text.data(), text.size());
  }

  // Writes a number field: prefix (sign, 0x), zeros, digits; the 0 flag pads with zeros after
  // the prefix when zeroPadAllowed, else the field is padded with blanks.
  void WriteNumber(const Spec& spec, std::string_view prefix, size_t zeros, std::string_view body, bool zeroPadAllowed)
  {
    size_t length = prefix.size() + zeros + body.size();
    size_t pad = static_cast<size_t>(spec.width) > length ? static_cast<size_t>(spec.width) - length : 0;
    bool zeroPad = spec.zero && !spec.left && zeroPadAllowed;
    if (zeroPad) {
      zeros += pad;
      pad = 0;
    }
    if (!spec.left)
      out_.AppendRepeated(' ', pad);
    AppendAscii(prefix);
    out_.AppendRepeated('0', zeros);
    AppendAscii(body);
    if (spec.left)
      out_.AppendRepeated(' ', pad);
  }

  void AppendAscii(std::string_view ascii)
  {
    if constexpr (kWide) {
      T chunk[64];
      while (!ascii.empty()) {
        size_t n = std::min(ascii.size(), std::size(chunk));
        std::copy_n(ascii.begin(), n, chunk);
        out_.Append(chunk, n);
        ascii.remove_prefix(n);
      }
    } else {
      out_.Append(ascii.data(), ascii.size());
    }
  }

  FormatSink<T>& out_;
  FormatArgs args_;
  size_t next_ = 0;
};

// Writes into a fixed buffer, keeping room for the terminator, and counts the whole text.
template <class T>
class BufferSink final : public FormatSink<T> {
 public:
  BufferSink(T* buffer, size_t capacity) : buffer_(buffer), capacity_(capacity) {}

  void Append(const T* units, size_t count) override
  {
    size_t n = std::min(count, Room());
    std::copy_n(units, n, buffer_ + stored_);
    stored_ += n;
    total_ += count;
  }

  void AppendRepeated(T unit, size_t count) override
  {
    size_t n = std::min(count, Room());
    std::fill_n(buffer_ + stored_, n, unit);
    stored_ += n;
    total_ += count;
  }

  size_t Finish()
  {
    if (capacity_ > 0)
      buffer_[stored_] = 0;
    return total_;
  }

 private:
  size_t Room() const { return capacity_ > 0 ? capacity_ - 1 - stored_ : 0; }

  T* buffer_;
  size_t capacity_;
  size_t stored_ = 0;
  size_t total_ = 0;
};

template <class T>
class StringSink final : public FormatSink<T> {
 public:
  explicit StringSink(std::basic_string<T>& out) : out_(out) {}
  void Append(const T* units, size_t count) override { out_.append(units, count); }
  void AppendRepeated(T unit, size_t count) override { out_.append(count, unit); }

 private:
  std::basic_string<T>& out_;
};

template <class T>
size_t FormatIntoBuffer(T* buffer, size_t count, const T* format, FormatArgs args)
{
  BufferSink<T> sink(buffer, buffer ? count : 0);
  if (format)
    FormatTo(sink, format, args);
  return sink.Finish();
}

// The run-time's counted result: the length when it fitted, else -1.
template <class T>
int CountedResult(T* buffer, size_t count, const T* format, FormatArgs args)
{
  if (!format || (!buffer && count > 0)) {
    if (buffer && count > 0)
      buffer[0] = 0;
    return -1;
  }
  size_t length = FormatIntoBuffer(buffer, count, format, args);
  if (length > static_cast<size_t>(std::numeric_limits<int>::max()))
    return -1;
  if (!buffer)
    return static_cast<int>(length);
  return length < count ? static_cast<int>(length) : -1;
}

}  // namespace

template <class T>
void FormatTo(FormatSink<T>& sink, const T* format, FormatArgs args)
{
  Formatter<T>(sink, args).Run(format);
}

template <class T>
void AppendFormatted(std::basic_string<T>& out, const T* format, FormatArgs args)
{
  if (!format)
    return;
  out.reserve(out.size() + std::char_traits<T>::length(format) + 32);  // most texts need no regrowth
  StringSink<T> sink(out);
  FormatTo(sink, format, args);
}

template void FormatTo<char>(FormatSink<char>&, const char*, FormatArgs);
template void FormatTo<char16_t>(FormatSink<char16_t>&, const char16_t*, FormatArgs);
template void AppendFormatted<char>(std::string&, const char*, FormatArgs);
template void AppendFormatted<char16_t>(std::u16string&, const char16_t*, FormatArgs);

}  // namespace kv::text

namespace kv {

size_t FormatInto(WCHAR* buffer, size_t count, const WCHAR* format, FormatArgs args)
{
  return text::FormatIntoBuffer(buffer, count, format, args);
}

size_t FormatInto(char* buffer, size_t count, const char* format, FormatArgs args)
{
  return text::FormatIntoBuffer(buffer, count, format, args);
}

}  // namespace kv

int _vsnwprintf(WCHAR* buffer, size_t count, const WCHAR* format, kv::FormatArgs args)
{
  return kv::text::CountedResult(buffer, count, format, args);
}

int _vsnprintf(char* buffer, size_t count, const char* format, kv::FormatArgs args)
{
  return kv::text::CountedResult(buffer, count, format, args);
}

int wvsprintf(WCHAR* buffer, size_t count, const WCHAR* format, kv::FormatArgs args)
{
  constexpr size_t kLimit = 1025;  // 1024 units and the terminator
  size_t capacity = std::min(count, kLimit);
  if (!buffer || capacity == 0)
    return 0;
  size_t length = kv::text::FormatIntoBuffer(buffer, capacity, format, args);
  return static_cast<int>(std::min(length, capacity - 1));
}
