// The file of one stored message: a JSON object of the message's texts, written in the device's
// ANSI code page (936) without byte-order mark:
//
//   {"operatoinType":"viewMsg","msgId":"12","msgTopic":"...","msgContent":"...","msgFrom":"...",
//    "MsgType":"...","msgDate":"..."}
//
// ("operatoinType" is spelled as the stored files have it.) A character that code page 936 does
// not have is written as a JSON escape (\uXXXX, a pair of them beyond U+FFFF), which the JSON
// reader turns back into the character, so no text is lost to "?".
#pragma once

#include "base/types.h"
#include "text/cstring.h"

// A message as the message screen shows it.
struct MsgRecord {
  int msgId = -1;  // -1 before anything is shown
  CStringW topic;
  CStringW content;
  CStringW sender;
  CStringW type;
  CStringW date;
};

// The JSON text of the message's file, its texts escaped as JSON requires.
CStringW FormatMessageFile(const MsgRecord& message);

// Reads the message's fields from the JSON text of its file; a missing key gives an empty text
// (and the id 0). FALSE, message unchanged, when the text does not parse.
BOOL ParseMessageFile(const WCHAR* text, MsgRecord& message);

// The JSON text as the file's bytes, and back.
CStringA EncodeMessageFile(const CStringW& text);
CStringW DecodeMessageFile(const CStringA& bytes);
