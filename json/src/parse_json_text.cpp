#include "json/parse_json_text.h"

#include <string>

#include "text/codepage.h"

namespace {

constexpr int kReplyDepth = 20;

// The text in UTF-8; an unpaired surrogate becomes U+FFFD.
bool toUtf8(const WCHAR* text, std::string& utf8)
{
  int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) {
    return false;
  }
  utf8.resize(static_cast<size_t>(size));
  return WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr) == size;
}

}  // namespace

int ParseJsonText(JsonPushParserConfig* config, const WCHAR* text, JsonEventCallback callback, void* context)
{
  JsonPushParserConfig own;
  if (config == nullptr) {
    config = &own;
  }
  InitJsonPushParserConfig(config);
  config->callback = callback;
  config->callbackContext = context;
  config->depth = kReplyDepth;
  config->allowComments = 1;
  config->realsAsText = 1;

  std::string utf8;
  if (!toUtf8(text != nullptr ? text : u"", utf8)) {
    return 0;
  }
  JsonPushParser* parser = CreateJsonPushParser(config);
  if (parser == nullptr) {
    return 0;
  }
  int result = 1;
  for (const char* byte = utf8.c_str(); *byte != '\0'; ++byte) {
    if (JsonPushParserChar(parser, static_cast<unsigned char>(*byte)) == 0) {
      result = 0;
      break;
    }
  }
  if (result != 0) {
    result = JsonPushParserDone(parser);
  }
  DeleteJsonPushParser(parser);
  return result;
}
