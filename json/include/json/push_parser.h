// An event-driven JSON parser over bytes: the caller feeds one byte at a time and the parser
// calls back for every structural event and every complete value, without building a tree.
//
// A text is one object or one array, optionally surrounded by blanks and, when allowed, block
// comments. String values and keys arrive as the input's bytes with escapes resolved, "\u"
// escapes (surrogate pairs included) as UTF-8. Nesting is bounded by the configured depth.
// Every fault is one rejected byte; from then on the parser rejects everything it is fed.
#pragma once

#include <cstddef>
#include <cstdint>

enum JsonEventType : int {
  kJsonNone = 0,
  kJsonArrayBegin = 1,
  kJsonArrayEnd = 2,
  kJsonObjectBegin = 3,
  kJsonObjectEnd = 4,
  kJsonInteger = 5,
  kJsonReal = 6,
  kJsonNull = 7,
  kJsonTrue = 8,
  kJsonFalse = 9,
  kJsonString = 10,
  kJsonKey = 11,
};

// What the value of an event holds; valid only during the callback.
struct JsonEventValue {
  int32_t integer = 0;  // kJsonInteger, saturated to the 32-bit range
  double real = 0;      // kJsonReal unless reals are handed over as text
  // kJsonString and kJsonKey, and kJsonReal handed over as text (which keeps any blanks that
  // ended the number): the bytes, followed by a zero byte that the length does not count.
  const char* text = nullptr;
  size_t length = 0;
};

// Called for each event with the value (null for the events of brackets, null, true and false);
// returning 0 rejects the byte that caused the event.
using JsonEventCallback = int (*)(void* context, int type, const JsonEventValue* value);

struct JsonPushParserConfig {
  JsonEventCallback callback;  // may be null: no events
  void* callbackContext;
  // The most entries of the nesting stack, the outermost one for the whole text included (so 20
  // allows 19 nested arrays or objects); negative means no limit, 0 counts as 1.
  int depth;
  int allowComments;  // nonzero: block comments between tokens
  int realsAsText;    // nonzero: reals reach the callback as their text
};

struct JsonPushParser;

// Clears the configuration and sets the depth to 127.
void InitJsonPushParserConfig(JsonPushParserConfig* config);
// A parser ready for a text; a null configuration means the defaults. Null when memory is out.
JsonPushParser* CreateJsonPushParser(const JsonPushParserConfig* config);
// Feeds one byte (0 to 255): 1 accepted, 0 rejected.
int JsonPushParserChar(JsonPushParser* parser, int ch);
// 1 when what was fed is one complete text (only blanks and comments after it); else 0.
int JsonPushParserDone(JsonPushParser* parser);
// Frees the parser; null is ignored.
void DeleteJsonPushParser(JsonPushParser* parser);
