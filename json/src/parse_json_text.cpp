#include "json/parse_json_text.h"

#include <cstdint>

#include "push_parser_feed.h"

namespace {

constexpr int kReplyDepth = 20;

// Writes the UTF-8 of the unit at *text (with its partner, for a surrogate pair) and moves past
// it; an unpaired surrogate becomes U+FFFD. Returns the end of what was written (at most four
// bytes).
char* appendUtf8(const WCHAR*& text, char* out)
{
  uint32_t code = *text++;
  if (code >= 0xD800 && code <= 0xDFFF) {
    if (code <= 0xDBFF && *text >= 0xDC00 && *text <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (*text++ - 0xDC00u);
    } else {
      code = 0xFFFD;
    }
  }
  if (code < 0x80) {
    *out++ = static_cast<char>(code);
  } else if (code < 0x800) {
    *out++ = static_cast<char>(0xC0 | code >> 6);
    *out++ = static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    *out++ = static_cast<char>(0xE0 | code >> 12);
    *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (code & 0x3F));
  } else {
    *out++ = static_cast<char>(0xF0 | code >> 18);
    *out++ = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (code & 0x3F));
  }
  return out;
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

  JsonPushParser* parser = CreateJsonPushParser(config);
  if (parser == nullptr) {
    return 0;
  }
  // The text goes to the parser in UTF-8, a piece at a time.
  int result = 1;
  const WCHAR* next = text != nullptr ? text : u"";
  char piece[4096];
  while (*next != 0 && result != 0) {
    char* end = piece;
    while (*next != 0 && end + 4 <= piece + sizeof piece) {
      end = *next < 0x80 ? (*end = static_cast<char>(*next++), end + 1) : appendUtf8(next, end);
    }
    const auto length = static_cast<size_t>(end - piece);
    if (JsonPushParserFeed(parser, piece, length) != length) {
      result = 0;
    }
  }
  if (result != 0) {
    result = JsonPushParserDone(parser);
  }
  DeleteJsonPushParser(parser);
  return result;
}
