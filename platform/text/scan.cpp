// The formatted-scanning engine behind swscanf and sscanf.
#include "text/scan.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

#include "ansi_text.h"
#include "conversions.h"
#include "number_text.h"
#include "text/widechar.h"

namespace kv::text {
namespace {

using Kind = ScanArg::Kind;

constexpr size_t kUnlimited = std::numeric_limits<size_t>::max();

bool IsSpace(char16_t c)
{
  return iswspace(c) != 0;
}

bool IsSpace(char c)
{
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// D has the destination's size and signedness; memcpy keeps the store free of aliasing concerns
// (a long long destination written as int64_t).
template <class D>
void StoreSaturated(void* target, int64_t value)
{
  auto stored = static_cast<D>(std::clamp<int64_t>(value, std::numeric_limits<D>::min(), std::numeric_limits<D>::max()));
  std::memcpy(target, &stored, sizeof stored);
}

template <class D>
void StoreSaturatedUnsigned(void* target, uint64_t value)
{
  auto stored = static_cast<D>(std::min<uint64_t>(value, std::numeric_limits<D>::max()));
  std::memcpy(target, &stored, sizeof stored);
}

// Stores a value of the named size: its bits when the destination has that size (as the device
// stores it), else by value, saturating at the destination's range.
void StoreInteger(const ScanArg& arg, int bits, bool isSigned, uint64_t raw)
{
  int size = arg.size();
  if (size * 8 == bits) {
    uint8_t bytes[8];
    for (int i = 0; i < 8; ++i)
      bytes[i] = static_cast<uint8_t>(raw >> (8 * i));  // little-endian, as the target stores it
    std::memcpy(arg.target(), bytes, static_cast<size_t>(size));
    return;
  }
  if (arg.kind() == Kind::Signed) {
    int64_t value = isSigned ? static_cast<int64_t>(raw)
                             : static_cast<int64_t>(std::min<uint64_t>(raw, std::numeric_limits<int64_t>::max()));
    switch (size) {
      case 1:
        return StoreSaturated<int8_t>(arg.target(), value);
      case 2:
        return StoreSaturated<int16_t>(arg.target(), value);
      case 4:
        return StoreSaturated<int32_t>(arg.target(), value);
      default:
        return StoreSaturated<int64_t>(arg.target(), value);
    }
  }
  uint64_t value = isSigned && static_cast<int64_t>(raw) < 0 ? 0 : raw;
  switch (size) {
    case 1:
      return StoreSaturatedUnsigned<uint8_t>(arg.target(), value);
    case 2:
      return StoreSaturatedUnsigned<uint16_t>(arg.target(), value);
    case 4:
      return StoreSaturatedUnsigned<uint32_t>(arg.target(), value);
    default:
      return StoreSaturatedUnsigned<uint64_t>(arg.target(), value);
  }
}

template <class T>
class Scanner {
 public:
  Scanner(const T* input, ScanArgs args) : in_(input), args_(args) {}

  int Run(const T* f)
  {
    while (*f) {
      if (IsSpace(*f)) {
        while (IsSpace(*f))
          ++f;
        SkipSpace();
        continue;
      }
      if (*f != '%' || f[1] == '%') {
        if (*f == '%') {
          ++f;
          SkipSpace();
        }
        if (in_[pos_] != *f)
          return Result(in_[pos_] == 0);
        ++pos_;
        ++f;
        continue;
      }
      ++f;
      bool suppress = *f == '*';
      if (suppress)
        ++f;
      size_t width = 0;
      for (; *f >= '0' && *f <= '9'; ++f)
        width = std::min<size_t>(width * 10 + static_cast<size_t>(*f - '0'), kUnlimited / 16);
      SizePrefix size = ReadSizePrefix(f);
      if (!*f)
        return Result(false);
      T conversion = *f++;
      const ScanArg* arg = nullptr;
      if (!suppress) {
        if (next_ >= args_.size() || args_[next_].kind() == Kind::None)
          return Result(false);
        arg = &args_[next_++];
      }
      Outcome outcome = Convert(conversion, f, width, size, arg);
      if (outcome != Outcome::Done)
        return Result(outcome == Outcome::InputEnded);
    }
    return count_;
  }

 private:
  enum class Outcome { Done, Mismatch, InputEnded };

  static constexpr bool kWide = std::is_same_v<T, char16_t>;

  // EOF when the input ended before the first conversion completed, else the count.
  int Result(bool inputEnded) const { return inputEnded && !converted_ ? -1 : count_; }

  void SkipSpace()
  {
    while (IsSpace(in_[pos_]))
      ++pos_;
  }

  Outcome Convert(T conversion, const T*& f, size_t width, SizePrefix size, const ScanArg* arg)
  {
    if (conversion == 'n') {
      if (arg && (arg->kind() == Kind::Signed || arg->kind() == Kind::Unsigned))
        StoreInteger(*arg, arg->size() * 8, true, pos_);
      return Outcome::Done;
    }
    if (conversion != 'c' && conversion != '[')
      SkipSpace();
    if (in_[pos_] == 0)
      return Outcome::InputEnded;
    size_t limit = width ? width : kUnlimited;
    if (IsIntegerConversion(conversion))
      return ScanInteger(conversion, limit, size, arg);
    if (IsRealConversion(conversion))
      return ScanReal(limit, arg);
    switch (conversion) {
      case 's':
        return ScanText(limit, width != 0, arg, [](T c) { return !IsSpace(c); });
      case '[': {
        std::basic_string<T> set;
        bool negated = ReadSet(f, set);
        return ScanText(limit, width != 0, arg, [&](T c) { return InSet(set, c) != negated; });
      }
      case 'c':
        return ScanChars(width ? width : 1, arg);
      default:
        return Outcome::Mismatch;
    }
  }

  Outcome ScanInteger(T conversion, size_t limit, SizePrefix size, const ScanArg* arg)
  {
    if (arg && arg->kind() != Kind::Signed && arg->kind() != Kind::Unsigned)
      return Outcome::Mismatch;
    int base = conversion == 'd' || conversion == 'u' ? 10 : conversion == 'i' ? 0 : conversion == 'o' ? 8 : 16;
    ParsedInteger number = ParseInteger(in_ + pos_, limit, base);
    if (number.length == 0)
      return Outcome::Mismatch;
    pos_ += number.length;
    converted_ = true;
    if (!arg)
      return Outcome::Done;
    int bits = IntegerBits(size);
    bool isSigned = conversion == 'd' || conversion == 'i';
    uint64_t raw = isSigned ? static_cast<uint64_t>(SaturateSigned(number, bits)) : SaturateUnsigned(number, bits);
    StoreInteger(*arg, bits, isSigned, raw);
    ++count_;
    return Outcome::Done;
  }

  Outcome ScanReal(size_t limit, const ScanArg* arg)
  {
    if (arg && arg->kind() != Kind::Float && arg->kind() != Kind::Double && arg->kind() != Kind::LongDouble)
      return Outcome::Mismatch;
    std::string ascii;
    size_t length = ScanRealText(in_ + pos_, limit, ascii);
    if (length == 0)
      return Outcome::Mismatch;
    pos_ += length;
    converted_ = true;
    if (!arg)
      return Outcome::Done;
    if (arg->kind() == Kind::Float)
      *static_cast<float*>(arg->target()) = RealTextToFloat(ascii);
    else if (arg->kind() == Kind::Double)
      *static_cast<double*>(arg->target()) = RealTextToDouble(ascii);
    else
      *static_cast<long double*>(arg->target()) = RealTextToLongDouble(ascii);
    ++count_;
    return Outcome::Done;
  }

  // Reads a [set] up to its closing bracket (a ] right after [ or [^ belongs to the set; a-z is a
  // range). Returns whether the set is negated.
  static bool ReadSet(const T*& f, std::basic_string<T>& set)
  {
    bool negated = *f == '^';
    if (negated)
      ++f;
    if (*f == ']')
      set.push_back(*f++);
    while (*f && *f != ']') {
      if (f[1] == '-' && f[2] && f[2] != ']') {
        for (uint32_t c = static_cast<std::make_unsigned_t<T>>(f[0]); c <= static_cast<std::make_unsigned_t<T>>(f[2]); ++c)
          set.push_back(static_cast<T>(c));
        f += 3;
      } else {
        set.push_back(*f++);
      }
    }
    if (*f == ']')
      ++f;
    return negated;
  }

  static bool InSet(const std::basic_string<T>& set, T c) { return set.find(c) != std::basic_string<T>::npos; }

  bool IsTextDestination(const ScanArg* arg) const
  {
    return !arg || arg->kind() == Kind::WideText || arg->kind() == Kind::NarrowText;
  }

  bool SameWidth(const ScanArg& arg) const { return (arg.kind() == Kind::WideText) == kWide; }

  // Reads units while accept holds, at most limit; stores them with a terminator.
  template <class Accept>
  Outcome ScanText(size_t limit, bool hasWidth, const ScanArg* arg, Accept accept)
  {
    if (!IsTextDestination(arg))
      return Outcome::Mismatch;
    if (arg && arg->capacity() == 0 && !hasWidth)
      return Outcome::Mismatch;  // an unbounded store into a plain pointer
    if (arg && arg->capacity() > 0 && SameWidth(*arg))
      limit = std::min(limit, arg->capacity() - 1);
    size_t start = pos_;
    while (pos_ - start < limit && in_[pos_] && accept(in_[pos_]))
      ++pos_;
    if (pos_ == start)
      return Outcome::Mismatch;
    converted_ = true;
    if (arg) {
      Store(*arg, in_ + start, pos_ - start, true);
      ++count_;
    }
    return Outcome::Done;
  }

  Outcome ScanChars(size_t count, const ScanArg* arg)
  {
    if (!IsTextDestination(arg))
      return Outcome::Mismatch;
    size_t available = 0;
    while (available < count && in_[pos_ + available])
      ++available;
    if (available < count)
      return Outcome::InputEnded;
    if (arg && arg->capacity() > 0 && SameWidth(*arg) && count > arg->capacity())
      return Outcome::Mismatch;
    size_t start = pos_;
    pos_ += count;
    converted_ = true;
    if (arg) {
      Store(*arg, in_ + start, count, false);
      ++count_;
    }
    return Outcome::Done;
  }

  // Stores units into a text destination, converting to its width, within its capacity.
  void Store(const ScanArg& arg, const T* units, size_t length, bool terminate)
  {
    size_t capacity = arg.capacity() ? arg.capacity() : length + (terminate ? 1 : 0);
    size_t room = terminate ? capacity - 1 : capacity;
    if (arg.kind() == Kind::WideText) {
      std::u16string wide;
      if constexpr (kWide)
        wide.assign(units, length);
      else
        AppendAnsiAsWide(wide, std::string_view(units, length));
      size_t n = std::min(wide.size(), room);
      std::copy_n(wide.data(), n, static_cast<char16_t*>(arg.target()));
      if (terminate)
        static_cast<char16_t*>(arg.target())[n] = 0;
    } else {
      std::string narrow;
      if constexpr (kWide)
        AppendWideAsAnsi(narrow, std::u16string_view(units, length));
      else
        narrow.assign(units, length);
      size_t n = AnsiPrefixLength(narrow, room);
      std::copy_n(narrow.data(), n, static_cast<char*>(arg.target()));
      if (terminate)
        static_cast<char*>(arg.target())[n] = 0;
    }
  }

  const T* in_;
  ScanArgs args_;
  size_t pos_ = 0;
  size_t next_ = 0;
  int count_ = 0;
  bool converted_ = false;
};

template <class T>
int Scan(const T* input, const T* format, ScanArgs args)
{
  if (!input || !format)
    return -1;
  return Scanner<T>(input, args).Run(format);
}

}  // namespace
}  // namespace kv::text

namespace kv {

int ScanText(const WCHAR* input, const WCHAR* format, ScanArgs args)
{
  return text::Scan(input, format, args);
}

int ScanText(const char* input, const char* format, ScanArgs args)
{
  return text::Scan(input, format, args);
}

}  // namespace kv
