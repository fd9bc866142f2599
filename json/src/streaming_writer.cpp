#include "json/streaming_writer.h"

#include <string>

#include "text/format.h"

namespace {

constexpr WCHAR kHex[] = u"0123456789abcdef";

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

// Puts `length` units of `text` at `out`, escaped or as they are; returns the end.
WCHAR* putText(WCHAR* out, const WCHAR* text, size_t length, bool escape)
{
  if (!escape) {
    return std::char_traits<WCHAR>::copy(out, text, length) + length;
  }
  for (const WCHAR* end = text + length; text != end; ++text) {
    out = putEscaped(out, *text);
  }
  return out;
}

}  // namespace

// The member is written straight into the text's buffer, with room for a value whose every
// unit takes the longest escape; the text is then cut to what was written.
void CJsonWriter::appendMember(const WCHAR* key, const WCHAR* value, bool escape, bool comma)
{
  const size_t keyLength = std::char_traits<WCHAR>::length(key);
  const size_t valueLength = value != nullptr ? std::char_traits<WCHAR>::length(value) : 0;
  const int start = all_.GetLength();
  const size_t room = 1 + keyLength + 3 + (escape ? 6 : 1) * valueLength + 2;
  WCHAR* const begin = all_.GetBuffer(start + static_cast<int>(room)) + start;
  WCHAR* out = begin;
  if (comma) {
    *out++ = u',';
  }
  *out++ = u'"';
  out = putText(out, key, keyLength, false);
  *out++ = u'"';
  *out++ = u':';
  if (value != nullptr) {
    *out++ = u'"';
    out = putText(out, value, valueLength, escape);
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
    WCHAR* begin = escaped.GetBuffer(static_cast<int>(6 * length));
    escaped.ReleaseBuffer(static_cast<int>(putText(begin, value, length, true) - begin));
  }
  return escaped;
}
