#include "secret_json.h"

#include "secret_wipe.h"

void WipeJsonText(Json::Value& text)
{
  if (!text.isString()) {
    return;
  }
  if (const WCHAR* chars = text.asCString()) {
    size_t length = 0;
    while (chars[length] != 0) {
      ++length;
    }
    WipeSecret(const_cast<WCHAR*>(chars), length * sizeof(WCHAR));
  }
  text = Json::Value(u"");
}

void WipeJsonTexts(Json::Value& value)
{
  if (value.type() == Json::objectValue) {
    for (const std::u16string& name : value.getMemberNames()) {
      WipeJsonTexts(value[name]);
    }
  } else if (value.type() == Json::arrayValue) {
    for (Json::UInt i = 0; i < value.size(); ++i) {
      WipeJsonTexts(value[i]);
    }
  } else {
    WipeJsonText(value);
  }
}
