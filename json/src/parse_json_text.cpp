#include "json/parse_json_text.h"

#include <climits>
#include <string>

#include "text/codepage.h"

namespace {

constexpr int kReplyDepth = 20;

// The text in UTF-8, converted in one pass into room for the longest result (three bytes a
// unit); an unpaired surrogate becomes U+FFFD.
bool toUtf8(const WCHAR* text, std::string& utf8)
{
  size_t units = std::char_traits<char16_t>::length(text) + 1;
  if (units > static_cast<size_t>(INT_MAX / 3)) {
    return false;
  }
  utf8.resize(units * 3);
  int size = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(units), utf8.data(), static_cast<int>(utf8.size()),
                                 nullptr, nullptr);
  if (size <= 0) {
    return false;
  }
  utf8.resize(static_cast<size_t>(size));
  return true;
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
