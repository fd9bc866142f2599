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
