// A gateway reply (or a stored message) flattened into a table from member name to value: the
// screens parse the reply into a CResponseMap and read "resultStatus", "memo" and their own
// fields by name.
//
// Flattening: every member at any depth lands in the one table under its own name; a later
// member of the same name replaces an earlier one; the elements of an array are stored under the
// array's key in turn, so the last one remains; objects and arrays themselves have no entry.
//
//   CResponseMap reply;
//   if (reply.Parse(text)) {
//     JsonParserValue status;
//     if (reply.GetValue(u"resultStatus", status) && status.type == kJsonInteger) { ... }
//   }
#pragma once

#include <string>
#include <unordered_map>

#include "base/types.h"
#include "json/push_parser.h"
#include "text/cstring.h"

// One value of the table. type is the parser's event type: kJsonInteger (integer),
// kJsonReal (real), kJsonNull, kJsonTrue, kJsonFalse (no value) or kJsonString (text).
struct JsonParserValue {
  int type = kJsonNone;
  int integer = 0;
  double real = 0;
  CStringW text;
};
// The name the screens use for the record.
using ResponseValue = JsonParserValue;

using ResponseTable = std::unordered_map<std::u16string, JsonParserValue>;

// What one parse fills: the table and the key of that parse's member being read, which starts
// empty for every parse.
struct JsonHelperTarget {
  ResponseTable* table = nullptr;
  std::u16string currentKey;
};

// The parser's per-event callback that fills a table; context is a JsonHelperTarget. Keys and
// strings arrive in UTF-8. A number, real or string before any key of its own parse is refused
// (with a log entry), which fails the parse. Nonzero to go on.
int CJsonHelper(void* context, int type, const JsonEventValue* value);

class CResponseMap {
 public:
  CResponseMap();

  // Parses a whole wide text (one object or array, nesting at most 20 deep, block comments
  // allowed) into the table, through the custom callback when one is set. 1 on success; 0 when
  // the text is not one complete JSON text, and then the table is left empty, so nothing of a
  // damaged reply is acted on.
  int Parse(const WCHAR* text);

  // 1 and the record copied into out when key is in the table; else 0 and out untouched.
  int GetValue(const WCHAR* key, JsonParserValue& out) const;

  // No entries: nothing parsed, or a failed parse.
  bool IsEmpty() const { return table_.empty(); }

  // Events then go to callback with context instead of filling the table; null restores it.
  void SetCustomCallback(JsonEventCallback callback, void* context);

 private:
  JsonPushParserConfig config_;
  ResponseTable table_;
  JsonEventCallback customCallback_ = nullptr;
  void* customContext_ = nullptr;
};

// The text of a member into text; false, and text untouched, when the key is missing or its
// value is not text.
bool GetResponseText(const CResponseMap& reply, const WCHAR* key, CStringW& text);
