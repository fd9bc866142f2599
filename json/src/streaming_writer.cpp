#include "json/streaming_writer.h"

#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "text/format.h"

namespace {

constexpr WCHAR kHex[] = u"0123456789abcdef";
constexpr int kFirstRoom = 512;

// The escape of a character as Escape writes it, put at `out`; returns the end of it. Other
// characters are put as they are.
WCHAR* putEscaped(WCHAR* out, WCHAR ch)
{
  WCHAR letter = 0;
  switch (ch) {
    case u'\\': letter = u'\\'; break;
    case u'"': letter = u'"'; break;
    case u'\b': letter = u'b'; break;
    case u'\f': letter = u'f'; break;
    case u'\n': letter = u'n'; break;
    case u'\r': letter = u'r'; break;
    case u'\t': letter = u't'; break;
    default:
      if (ch >= 0x20) {
        *out = ch;
        return out + 1;
      }
      *out++ = u'\\';
      *out++ = u'u';
      *out++ = u'0';
      *out++ = u'0';
      *out++ = kHex[ch >> 4];
      *out = kHex[ch & 0xF];
      return out + 1;
  }
  *out++ = u'\\';
  *out = letter;
  return out + 1;
}

bool needsEscape(WCHAR ch)
{
  return ch < 0x20 || ch == u'"' || ch == u'\\';
}

// The offset of the first unit of text[0, length) that Escape changes, or length when none does;
// eight units at a time while they last.
size_t firstToEscape(const WCHAR* text, size_t length)
{
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i quote = _mm_set1_epi16(u'"');
  const __m128i backslash = _mm_set1_epi16(u'\\');
  const __m128i lastControl = _mm_set1_epi16(0x1F);
  for (; length - i >= 8; i += 8) {
    const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
    // A unit at most 0x1F saturates to zero when 0x1F is taken from it.
    const __m128i control = _mm_cmpeq_epi16(_mm_subs_epu16(units, lastControl), _mm_setzero_si128());
    const __m128i found = _mm_or_si128(control, _mm_or_si128(_mm_cmpeq_epi16(units, quote), _mm_cmpeq_epi16(units, backslash)));
    const auto mask = static_cast<unsigned>(_mm_movemask_epi8(found));
    if (mask != 0) {
      return i + static_cast<size_t>(__builtin_ctz(mask)) / 2;
    }
  }
#endif
  while (i < length && !needsEscape(text[i])) {
    ++i;
  }
  return i;
}

// Puts `length` units of `text` at `out` as they are; returns the end.
WCHAR* putRaw(WCHAR* out, const WCHAR* text, size_t length)
{
  return std::char_traits<WCHAR>::copy(out, text, length) + length;
}

// Puts `length` units of `text` at `out` escaped, the first `plain` of them known to need no
// escape; returns the end.
WCHAR* putEscapedText(WCHAR* out, const WCHAR* text, size_t length, size_t plain)
{
  out = putRaw(out, text, plain);
  for (const WCHAR* p = text + plain, *end = text + length; p != end; ++p) {
    out = putEscaped(out, *p);
  }
  return out;
}

}  // namespace

// The member is written straight into the text's buffer, with room for a value whose every
// unit from the first that needs an escape takes the longest escape; the text is then cut to
// what was written.
void CJsonWriter::appendMember(const WCHAR* key, const WCHAR* value, bool escape, bool comma)
{
  const size_t keyLength = std::char_traits<WCHAR>::length(key);
  const size_t valueLength = value != nullptr ? std::char_traits<WCHAR>::length(value) : 0;
  const size_t plain = escape ? firstToEscape(value, valueLength) : valueLength;
  const int start = all_.GetLength();
  const size_t room = 1 + keyLength + 3 + plain + 6 * (valueLength - plain) + 2;
  WCHAR* const begin = all_.GetBuffer(start + static_cast<int>(room)) + start;
  WCHAR* out = begin;
  if (comma) {
    *out++ = u',';
  }
  *out++ = u'"';
  out = putRaw(out, key, keyLength);
  *out++ = u'"';
  *out++ = u':';
  if (value != nullptr) {
    *out++ = u'"';
    out = putEscapedText(out, value, valueLength, plain);
    *out++ = u'"';
  }
  all_.ReleaseBuffer(start + static_cast<int>(out - begin));
}

// The comma rule: no comma before the first member of a level.
bool CJsonWriter::separate()
{
  const bool comma = !first_;
  first_ = false;
  return comma;
}

void CJsonWriter::BeginObject()
{
  if (all_.IsEmpty()) {
    // Room for a usual request at once, instead of growing through several copies.
    all_.GetBuffer(kFirstRoom);
    all_.ReleaseBuffer(0);
  }
  levels_.push_back(first_);
  // A nested object starts a level of its own.
  first_ = true;
  all_ += u'{';
}

void CJsonWriter::BeginObject(const WCHAR* key, const WCHAR* value, bool escape)
{
  BeginObject();
  if (key != nullptr) {
    appendMember(key, value, escape, separate());
  }
}

void CJsonWriter::AddMember(const WCHAR* key, const WCHAR* value, bool escape)
{
  if (key == nullptr) {
    return;
  }
  appendMember(key, value, escape, separate());
}

void CJsonWriter::AddIntAsString(const WCHAR* key, int value)
{
  WCHAR digits[16];
  swprintf(digits, 16, u"%d", value);
  AddMember(key, digits, false);
}

void CJsonWriter::EndObject()
{
  all_ += u'}';
  // An unbalanced end keeps the current level.
  if (!levels_.empty()) {
    first_ = levels_.back();
    levels_.pop_back();
  }
}

void CJsonWriter::EndObject(const WCHAR* key, const WCHAR* value, bool escape)
{
  if (key != nullptr) {
    appendMember(key, value != nullptr ? value : u"", escape, separate());
  }
  EndObject();
}

CStringW CJsonWriter::Escape(const WCHAR* value)
{
  CStringW escaped;
  if (value != nullptr) {
    const size_t length = std::char_traits<WCHAR>::length(value);
    const size_t plain = firstToEscape(value, length);
    WCHAR* begin = escaped.GetBuffer(static_cast<int>(plain + 6 * (length - plain)));
    escaped.ReleaseBuffer(static_cast<int>(putEscapedText(begin, value, length, plain) - begin));
  }
  return escaped;
}
