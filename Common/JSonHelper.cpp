#include "JSonHelper.h"

#include <charconv>

#include "json/parse_json_text.h"
#include "log_writer.h"
#include "text/codepage.h"

namespace {

// Puts UTF-8 bytes into `wide` as UTF-16, reusing its room. Keys and strings are mostly ASCII:
// those are widened directly. Returns the length.
int widenUtf8(const char* bytes, size_t length, WCHAR* wide)
{
  size_t i = 0;
  while (i < length && static_cast<unsigned char>(bytes[i]) < 0x80) {
    wide[i] = static_cast<char16_t>(bytes[i]);
    ++i;
  }
  if (i == length) {
    return static_cast<int>(length);
  }
  // UTF-8 never needs more units than bytes.
  int size = MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(length), wide, static_cast<int>(length));
  return size > 0 ? size : 0;
}

void assignUtf8(std::u16string& wide, const char* bytes, size_t length)
{
  wide.resize(length);
  wide.resize(static_cast<size_t>(widenUtf8(bytes, length, wide.data())));
}

void assignUtf8(CStringW& wide, const char* bytes, size_t length)
{
  WCHAR* room = wide.GetBuffer(static_cast<int>(length));
  wide.ReleaseBuffer(widenUtf8(bytes, length, room));
}

// A real's text as the parser hands it over (it may end in the blanks that ended it).
double realFromText(const char* text, size_t length)
{
  double real = 0;
  std::from_chars(text, text + length, real);
  return real;
}

}  // namespace

int CJsonHelper(void* context, int type, const JsonEventValue* value)
{
  if (type < kJsonInteger || type > kJsonKey) {
    return 1;
  }
  auto* target = static_cast<JsonHelperTarget*>(context);
  if (target == nullptr || target->table == nullptr) {
    return 0;
  }
  if (type == kJsonKey) {
    assignUtf8(target->currentKey, value->text, value->length);
    return 1;
  }
  const bool literal = type == kJsonNull || type == kJsonTrue || type == kJsonFalse;
  if (!literal && target->currentKey.empty()) {
    WRITE_LOG_ENTRY(u"");
    return 0;
  }
  // The record stored under the key before is replaced in place, its text's room reused.
  JsonParserValue& record = (*target->table)[target->currentKey];
  record.type = type;
  record.integer = type == kJsonInteger ? value->integer : 0;
  record.real = 0;
  if (type == kJsonReal) {
    record.real = value->text != nullptr ? realFromText(value->text, value->length) : value->real;
  }
  if (type == kJsonString) {
    assignUtf8(record.text, value->text, value->length);
  } else {
    record.text.Empty();
  }
  return 1;
}

CResponseMap::CResponseMap()
{
  InitJsonPushParserConfig(&config_);
}

int CResponseMap::Parse(const WCHAR* text)
{
  if (customCallback_ != nullptr) {
    return ParseJsonText(&config_, text, customCallback_, customContext_);
  }
  JsonHelperTarget target{&table_, {}};
  int result = ParseJsonText(&config_, text, CJsonHelper, &target);
  if (result == 0) {
    table_.clear();
  }
  return result;
}

int CResponseMap::GetValue(const WCHAR* key, JsonParserValue& out) const
{
  if (key == nullptr) {
    return 0;
  }
  auto found = table_.find(key);
  if (found == table_.end()) {
    return 0;
  }
  out = found->second;
  return 1;
}

void CResponseMap::SetCustomCallback(JsonEventCallback callback, void* context)
{
  customCallback_ = callback;
  customContext_ = context;
}

bool GetResponseText(const CResponseMap& reply, const WCHAR* key, CStringW& text)
{
  JsonParserValue value;
  if (!reply.GetValue(key, value) || value.type != kJsonString) {
    return false;
  }
  text = value.text;
  return true;
}
