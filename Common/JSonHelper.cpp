#include "JSonHelper.h"

#include <charconv>

#include "json/parse_json_text.h"
#include "log_writer.h"
#include "text/codepage.h"

namespace {

// Keys and strings are mostly ASCII: those are widened directly.
std::u16string fromUtf8(const char* bytes, size_t length)
{
  std::u16string wide(length, u'\0');
  size_t i = 0;
  while (i < length && static_cast<unsigned char>(bytes[i]) < 0x80) {
    wide[i] = static_cast<char16_t>(bytes[i]);
    ++i;
  }
  if (i == length) {
    return wide;
  }
  // UTF-8 never needs more units than bytes.
  int size = MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(length), wide.data(), static_cast<int>(length));
  wide.resize(size > 0 ? static_cast<size_t>(size) : 0);
  return wide;
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
    target->currentKey = fromUtf8(value->text, value->length);
    return 1;
  }
  JsonParserValue record;
  record.type = type;
  if (type == kJsonNull || type == kJsonTrue || type == kJsonFalse) {
    (*target->table)[target->currentKey] = record;
    return 1;
  }
  if (type == kJsonInteger) {
    record.integer = value->integer;
  } else if (type == kJsonReal) {
    record.real = value->text != nullptr ? realFromText(value->text, value->length) : value->real;
  } else {
    std::u16string text = fromUtf8(value->text, value->length);
    record.text = CStringW(text.data(), static_cast<int>(text.size()));
  }
  if (target->currentKey.empty()) {
    WRITE_LOG_ENTRY(u"");
    return 0;
  }
  (*target->table)[target->currentKey] = std::move(record);
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
