#include "message_file.h"

#include "JSonHelper.h"
#include "json/streaming_writer.h"
#include "text/codepage.h"
#include "text/widechar.h"

namespace {

CStringW TextOf(const CResponseMap& map, const WCHAR* key)
{
  CStringW text;
  GetResponseText(map, key, text);
  return text;
}

// The code page's bytes of one unit; FALSE when the code page lacks it (a surrogate alone
// included).
BOOL UnitToAnsi(WCHAR unit, CStringA& bytes)
{
  char buffer[8];
  BOOL usedDefault = FALSE;
  int length = WideCharToMultiByte(CP_ACP, 0, &unit, 1, buffer, sizeof buffer, nullptr, &usedDefault);
  if (length <= 0 || usedDefault) {
    return FALSE;
  }
  bytes.Append(buffer, length);
  return TRUE;
}

}  // namespace

CStringW FormatMessageFile(const MsgRecord& message)
{
  CJsonWriter writer;
  writer.BeginObject(u"operatoinType", u"viewMsg", true);
  writer.AddIntAsString(u"msgId", message.msgId);
  writer.AddMember(u"msgTopic", message.topic, true);
  writer.AddMember(u"msgContent", message.content, true);
  writer.AddMember(u"msgFrom", message.sender, true);
  writer.AddMember(u"MsgType", message.type, true);
  writer.EndObject(u"msgDate", message.date, true);
  return writer.GetText();
}

BOOL ParseMessageFile(const WCHAR* text, MsgRecord& message)
{
  CResponseMap map;
  if (!map.Parse(text)) {
    return FALSE;
  }
  JsonParserValue id;
  message.msgId = 0;
  if (map.GetValue(u"msgId", id)) {
    message.msgId = id.type == kJsonString ? _wtoi(id.text) : id.integer;
  }
  message.topic = TextOf(map, u"msgTopic");
  message.content = TextOf(map, u"msgContent");
  message.sender = TextOf(map, u"msgFrom");
  message.type = TextOf(map, u"MsgType");
  message.date = TextOf(map, u"msgDate");
  return TRUE;
}

CStringA EncodeMessageFile(const CStringW& text)
{
  BOOL usedDefault = FALSE;
  int size = WideCharToMultiByte(CP_ACP, 0, text, text.GetLength(), nullptr, 0, nullptr, nullptr);
  CStringA bytes;
  if (size > 0) {
    int length = WideCharToMultiByte(CP_ACP, 0, text, text.GetLength(), bytes.GetBufferSetLength(size), size, nullptr, &usedDefault);
    bytes.ReleaseBuffer(length);
  }
  if (!usedDefault) {
    return bytes;
  }
  // Some unit is not in the code page: outside the JSON strings every unit is ASCII, so the
  // escape always lands inside a string.
  bytes.Empty();
  for (int i = 0; i < text.GetLength(); ++i) {
    WCHAR unit = text[i];
    if (unit < 0x80) {
      bytes.AppendChar(static_cast<char>(unit));
    } else if (!UnitToAnsi(unit, bytes)) {
      bytes.AppendFormat("\\u%04X", static_cast<unsigned>(unit));
    }
  }
  return bytes;
}

CStringW DecodeMessageFile(const CStringA& bytes)
{
  return CStringW(bytes.GetString(), bytes.GetLength());
}
