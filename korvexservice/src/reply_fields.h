// Reading members of a parsed gateway reply without throwing: a reply is outside input, and a
// conversion of the wrong type would otherwise throw on the network worker thread.
#pragma once

#include <optional>
#include <string>

#include "base/types.h"
#include "json/value.h"

// The member as text: a string as it is, a number or boolean as its JSON text; empty when the
// member is absent, null, an array or an object (or the reply is no object).
std::u16string ReplyText(const Json::Value& reply, const WCHAR* name);

// The member as an int when it is a number in int range (a fraction is cut off); nullopt
// otherwise, booleans and numeric texts included.
std::optional<int> ReplyNumber(const Json::Value& reply, const WCHAR* name);

// ReplyNumber, or 0.
int ReplyInt(const Json::Value& reply, const WCHAR* name);

// The member read as a number field of a record: 0 when it is absent or null, ReplyNumber
// when it is a number in int range, nullopt when it holds anything else.
std::optional<int> ReplyIntField(const Json::Value& reply, const WCHAR* name);

// TRUE when the member is present and not null.
bool ReplyHas(const Json::Value& reply, const WCHAR* name);

// The reply's "memo" as notifications pass it: its text, or null when the reply has none.
class ReplyMemo {
 public:
  explicit ReplyMemo(const Json::Value& reply)
      : m_present(ReplyHas(reply, u"memo")), m_text(ReplyText(reply, u"memo"))
  {
  }
  const WCHAR* get() const { return m_present ? m_text.c_str() : nullptr; }
  const std::u16string& text() const { return m_text; }

 private:
  bool m_present;
  std::u16string m_text;
};
