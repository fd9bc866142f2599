// Builds the JSON text of a request or a stored message directly as wide text, member by
// member. Every value is written as a JSON string; numbers are formatted by the caller (or by
// AddIntAsString). Key names are written as given, never escaped; a value is escaped only when
// the call asks for it.
//
//   CJsonWriter writer;
//   writer.BeginObject(u"operationType", u"preRegister", false);
//   writer.AddMember(u"clientID", clientId, true);
//   writer.EndObject();
//   writer.GetText();  // {"operationType":"preRegister","clientID":"..."}
#pragma once

#include <vector>

#include "base/types.h"
#include "text/cstring.h"

class CJsonWriter {
 public:
  CJsonWriter() = default;

  // "{" and, with a key, the first member: "key": and the value in quotes when there is one.
  void BeginObject();
  void BeginObject(const WCHAR* key, const WCHAR* value, bool escape);
  // ,"key":"value" (no comma before the first member of an object); "key": alone when value is
  // null, to be followed by a nested object. A null key writes nothing.
  void AddMember(const WCHAR* key, const WCHAR* value, bool escape);
  // ,"key":"<decimal value>": a number written as a text.
  void AddIntAsString(const WCHAR* key, int value);
  // "}", or with a key a last member (its value "" when null) and then "}".
  void EndObject();
  void EndObject(const WCHAR* key, const WCHAR* value, bool escape);

  // The whole text written so far.
  const CStringW& GetText() const { return all_; }

  // value with backslashes, double quotes and the control characters U+0000 to U+001F escaped
  // as JSON requires (\b \f \n \r \t, others as \u00XX); everything else as it is.
  static CStringW Escape(const WCHAR* value);

 private:
  bool separate();
  void appendMember(const WCHAR* key, const WCHAR* value, bool escape, bool comma);

  CStringW all_;
  bool first_ = true;        // no member yet at the current level
  std::vector<bool> levels_;  // first_ of the enclosing levels
};
