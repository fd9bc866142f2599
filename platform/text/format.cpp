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


// One conversion of a format: its flags, width, precision, size prefix and letter.
struct Conversion {
  bool left = false;
  bool plus = false;
  bool space = false;
  bool alt = false;
  bool zero = false;
  int width = 0;
  int precision = -1;
  SizePrefix size = SizePrefix::None;
  char letter = 0;
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
  void Sign(bool negative, const Conversion& conv)
  {
    if (negative)
      Add("-");
    else if (conv.plus)
      Add("+");
    else if (conv.space)
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
      Conversion conv;
      if (!ParseConversion(p, conv)) {
        out_.Append(start, static_cast<size_t>(p - start));  // cut short by the end of the format
        break;
      }
      ++p;
      Convert(conv, start, p);
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
  bool ParseConversion(const T*& p, Conversion& conv)
  {
    for (;; ++p) {
      if (*p == '-')
        conv.left = true;
      else if (*p == '+')
        conv.plus = true;
      else if (*p == ' ')
        conv.space = true;
      else if (*p == '#')
        conv.alt = true;
      else if (*p == '0')
        conv.zero = true;
      else
        break;
    }
    if (*p == '*') {
      ++p;
      conv.width = StarField();
      if (conv.width < 0) {
        conv.left = true;
        conv.width = -conv.width;
      }
    } else {
      conv.width = ReadNumber(p);
    }
    if (*p == '.') {
      ++p;
      if (*p == '*') {
        ++p;
        conv.precision = StarField();
        if (conv.precision < 0)
          conv.precision = -1;
      } else {
        conv.precision = ReadNumber(p);
      }
    }
    conv.size = ReadSizePrefix(p);
    if (!*p)
      return false;
    conv.letter = *p < 0x80 ? static_cast<char>(*p) : '?';
    return true;
  }

  static int ReadNumber(const T*& p)
  {
    uint64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
      value = std::min<uint64_t>(value * 10 + static_cast<uint64_t>(*p - '0'), kMaxFormatField);
    return static_cast<int>(value);
  }

  void Convert(Conversion& conv, const T* start, const T* end)
  {
    char c = conv.letter;
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
      WriteAscii(conv, "(missing)");
    else if (IsIntegerConversion(c))
      FormatInteger(conv, *arg);
    else if (IsRealConversion(c))
      FormatReal(conv, *arg);
    else if (c == 'c' || c == 'C')
      FormatChar(conv, *arg);
    else if (c == 's' || c == 'S')
      FormatText(conv, *arg);
    else
      FormatPointer(conv, *arg);
  }

  // An argument that does not fit its conversion prints in its own natural form.
  void FormatNatural(Conversion conv, const FormatArg& arg)
  {
    // An integer prints whole, at its own size.
    conv.size = arg.size() == 8 ? SizePrefix::ll
                : arg.size() == 2 ? SizePrefix::h
                : arg.size() == 1 ? SizePrefix::hh
                                  : SizePrefix::None;
    switch (arg.kind()) {
      case Kind::Signed:
        conv.letter = 'd';
        return FormatInteger(conv, arg);
      case Kind::Unsigned:
        conv.letter = 'u';
        return FormatInteger(conv, arg);
      case Kind::WideChar:
      case Kind::NarrowChar:
        conv.letter = 'c';
        return FormatChar(conv, arg);
      case Kind::Real:
        conv.letter = 'g';
        return FormatReal(conv, arg);
      case Kind::WideText:
      case Kind::NarrowText:
        conv.letter = 's';
        return FormatText(conv, arg);
      case Kind::Pointer:
        if (!arg.pointer())
          return WriteAscii(conv, "(null)", conv.precision);
        conv.letter = 'p';
        return FormatPointer(conv, arg);
    }
  }

  void FormatInteger(const Conversion& conv, const FormatArg& arg)
  {
    uint64_t raw = 0;
    if (!RawIntegerOf(arg, raw))
      return FormatNatural(conv, arg);
    int bits = IntegerBits(conv.size);
    uint64_t value = raw & Mask(bits);
    bool isSigned = conv.letter == 'd' || conv.letter == 'i';
    bool negative = false;
    if (isSigned && bits < 64 && (value >> (bits - 1)) != 0) {
      negative = true;
      value = (0 - value) & Mask(bits);
    } else if (isSigned && bits == 64 && static_cast<int64_t>(value) < 0) {
      negative = true;
      value = 0 - value;
    }
    int base = conv.letter == 'o' ? 8 : (conv.letter == 'x' || conv.letter == 'X' ? 16 : 10);
    const char* digitSet = conv.letter == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
    char digits[24];
    char* end = digits + sizeof digits;
    char* first = end;
    for (uint64_t v = value; v != 0; v /= base)
      *--first = digitSet[v % base];
    if (value == 0 && conv.precision != 0)
      *--first = '0';
    std::string_view body(first, static_cast<size_t>(end - first));

    Prefix prefix;
    if (isSigned)
      prefix.Sign(negative, conv);
    if (conv.alt && base == 16 && value != 0)
      prefix.Add(conv.letter == 'X' ? "0X" : "0x");
    size_t zeros = conv.precision > static_cast<int>(body.size()) ? static_cast<size_t>(conv.precision) - body.size() : 0;
    if (conv.alt && base == 8 && zeros == 0 && (body.empty() || body[0] != '0'))
      zeros = 1;
    WriteNumber(conv, prefix.View(), zeros, body, conv.precision < 0);
  }

  void FormatPointer(const Conversion& conv, const FormatArg& arg)
  {
    uint64_t raw = 0;
    if (!RawIntegerOf(arg, raw))
      return FormatNatural(conv, arg);
    char digits[2 * sizeof(void*)];
    for (int i = static_cast<int>(sizeof digits) - 1; i >= 0; --i, raw >>= 4)
      digits[i] = "0123456789ABCDEF"[raw & 0xF];
    WriteNumber(conv, {}, 0, std::string_view(digits, sizeof digits), false);
  }

  void FormatReal(const Conversion& conv, const FormatArg& arg)
  {
    double value = 0;
    if (arg.kind() == Kind::Real)
      value = arg.real();
    else if (arg.kind() == Kind::Signed || arg.kind() == Kind::NarrowChar)
      value = static_cast<double>(arg.signedValue());
    else if (arg.kind() == Kind::Unsigned || arg.kind() == Kind::WideChar)
      value = static_cast<double>(arg.unsignedValue());
    else
      return FormatNatural(conv, arg);

    Prefix prefix;
    prefix.Sign(std::signbit(value), conv);
    bool upper = conv.letter >= 'A' && conv.letter <= 'Z';
    if (!std::isfinite(value)) {
      WriteNumber(conv, prefix.View(), 0, std::isnan(value) ? (upper ? "NAN" : "nan") : (upper ? "INF" : "inf"), false);
      return;
    }
    if ((conv.letter | 0x20) == 'a')
      prefix.Add(upper ? "0X" : "0x");  // zeros pad after it
    char stack[512];
    std::unique_ptr<char[]> heap;
    size_t room = static_cast<size_t>(std::max(conv.precision, 0)) + 400;
    char* buffer = stack;
    if (room > sizeof stack) {
      heap = std::make_unique<char[]>(room);
      buffer = heap.get();
    }
    size_t length = RealDigits(std::fabs(value), conv.letter, conv.precision, conv.alt, buffer, buffer + room);
    WriteNumber(conv, prefix.View(), 0, std::string_view(buffer, length), true);
  }

  // Which width a character or text conversion asks for when the argument does not say.
  bool WantsWide(const Conversion& conv) const
  {
    if (conv.size == SizePrefix::h || conv.size == SizePrefix::hh)
      return false;
    if (conv.size == SizePrefix::l || conv.size == SizePrefix::w)
      return true;
    bool natural = conv.letter == 'c' || conv.letter == 's';
    return natural == kWide;
  }

  void FormatChar(const Conversion& conv, const FormatArg& arg)
  {
    uint64_t raw = 0;
    if (arg.kind() == Kind::Pointer || !RawIntegerOf(arg, raw))
      return FormatNatural(conv, arg);
    bool wide = arg.kind() == Kind::WideChar ? true : (arg.kind() == Kind::NarrowChar ? false : WantsWide(conv));
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
    WriteText(conv, text.data(), text.size());
  }

  void FormatText(const Conversion& conv, const FormatArg& arg)
  {
    if (arg.kind() == Kind::Pointer && !arg.pointer())
      return WriteAscii(conv, "(null)", conv.precision);
    if (!IsText(arg))
      return FormatNatural(conv, arg);
    if (arg.kind() == Kind::WideText ? !arg.wide() : !arg.narrow())
      return WriteAscii(conv, "(null)", conv.precision);
    size_t limit = conv.precision < 0 ? std::numeric_limits<size_t>::max() : static_cast<size_t>(conv.precision);
    if (arg.kind() == Kind::WideText) {
      const char16_t* s = arg.wide();
      if constexpr (kWide) {
        WriteText(conv, s, BoundedLength(s, limit));
      } else {
        std::string ansi;
        AppendWideAsAnsi(ansi, std::u16string_view(s, BoundedLength(s, limit)));
        WriteText(conv, ansi.data(), AnsiPrefixLength(ansi, limit));
      }
      return;
    }
    const char* s = arg.narrow();
    if constexpr (kWide) {
      // A narrow character gives one unit from one or two bytes; read no further than needed.
      std::u16string wide;
      AppendAnsiAsWide(wide, std::string_view(s, BoundedLength(s, limit > SIZE_MAX / 2 ? limit : limit * 2)));
      WriteText(conv, wide.data(), std::min(wide.size(), limit));
    } else {
      WriteText(conv, s, BoundedLength(s, limit));
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
  void WriteText(const Conversion& conv, const T* text, size_t length)
  {
    size_t pad = static_cast<size_t>(conv.width) > length ? static_cast<size_t>(conv.width) - length : 0;
    T fill = conv.zero && !conv.left ? '0' : ' ';
    if (!conv.left)
      out_.AppendRepeated(fill, pad);
    out_.Append(text, length);
    if (conv.left)
      out_.AppendRepeated(' ', pad);
  }

  void WriteAscii(const Conversion& conv, std::string_view ascii, int precision = -1)
  {
    if (precision >= 0 && ascii.size() > static_cast<size_t>(precision))
      ascii = ascii.substr(0, static_cast<size_t>(precision));
    std::basic_string<T> text(ascii.begin(), ascii.end());
    Conversion blankPadded = conv;
    blankPadded.zero = false;
    WriteText(blankPadded, text.data(), text.size());
  }

  // Writes a number field: prefix (sign, 0x), zeros, digits; the 0 flag pads with zeros after
  // the prefix when zeroPadAllowed, else the field is padded with blanks.
  void WriteNumber(const Conversion& conv, std::string_view prefix, size_t zeros, std::string_view body, bool zeroPadAllowed)
  {
    size_t length = prefix.size() + zeros + body.size();
    size_t pad = static_cast<size_t>(conv.width) > length ? static_cast<size_t>(conv.width) - length : 0;
    bool zeroPad = conv.zero && !conv.left && zeroPadAllowed;
    if (zeroPad) {
      zeros += pad;
      pad = 0;
    }
    if (!conv.left)
      out_.AppendRepeated(' ', pad);
    AppendAscii(prefix);
    out_.AppendRepeated('0', zeros);
    AppendAscii(body);
    if (conv.left)
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
