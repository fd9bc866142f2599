#include "json/streaming_writer.h"

#include "text/format.h"

void CJsonWriter::separate()
{
  if (first_) {
    first_ = false;
  } else {
    all_ += u',';
  }
}

void CJsonWriter::appendMember(const WCHAR* key, const WCHAR* value, bool escape)
{
  all_ += u'"';
  all_ += key;
  all_ += u"\":";
  if (value != nullptr) {
    all_ += u'"';
    if (escape) {
      all_ += Escape(value);
    } else {
      all_ += value;
    }
    all_ += u'"';
  }
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
    separate();
    appendMember(key, value, escape);
  }
}

void CJsonWriter::AddMember(const WCHAR* key, const WCHAR* value, bool escape)
{
  if (key == nullptr) {
    return;
  }
  separate();
  appendMember(key, value, escape);
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
    separate();
    appendMember(key, value != nullptr ? value : u"", escape);
  }
  EndObject();
}

CStringW CJsonWriter::Escape(const WCHAR* value)
{
  static constexpr WCHAR kHex[] = u"0123456789abcdef";
  CStringW escaped;
  if (value == nullptr) {
    return escaped;
  }
  for (const WCHAR* p = value; *p != 0; ++p) {
    WCHAR ch = *p;
    switch (ch) {
      case u'\\': escaped += u"\\\\"; break;
      case u'"': escaped += u"\\\""; break;
      case u'\b': escaped += u"\\b"; break;
      case u'\f': escaped += u"\\f"; break;
      case u'\n': escaped += u"\\n"; break;
      case u'\r': escaped += u"\\r"; break;
      case u'\t': escaped += u"\\t"; break;
      default:
        if (ch < 0x20) {
          escaped += u"\\u00";
          escaped += kHex[ch >> 4];
          escaped += kHex[ch & 0xF];
        } else {
          escaped += ch;
        }
    }
  }
  return escaped;
}
