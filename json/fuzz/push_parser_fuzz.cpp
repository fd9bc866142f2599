// Fuzzes the event parser with any bytes under options taken from the first byte, and checks
// what it delivers: the events always form a well-nested text within the depth; after a rejected
// byte nothing more is accepted; the wide-text driver agrees with feeding the bytes directly;
// and any text the streaming writer builds with escaping on reads back to the same value.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "json/parse_json_text.h"
#include "json/push_parser.h"
#include "json/streaming_writer.h"
#include "text/codepage.h"

namespace {

void check(bool condition)
{
  if (!condition) {
    std::abort();
  }
}

// Follows the events as a grammar would and records them for comparisons.
struct EventChecker {
  int depthLimit = -1;
  std::string open;  // 'A' array, 'O' object awaiting a key, 'V' object awaiting a value
  bool rootDone = false;
  std::string log;

  bool valueAllowed() const { return !open.empty() && (open.back() == 'A' || open.back() == 'V'); }
  void valueDone()
  {
    if (open.empty()) {
      rootDone = true;
    } else if (open.back() == 'V') {
      open.back() = 'O';
    }
  }

  static int callback(void* context, int type, const JsonEventValue* value)
  {
    auto* self = static_cast<EventChecker*>(context);
    check(!self->rootDone);
    self->log += static_cast<char>('0' + type);
    switch (type) {
      case kJsonArrayBegin:
      case kJsonObjectBegin:
        check(value == nullptr);
        check(self->open.empty() || self->valueAllowed());
        self->open += type == kJsonArrayBegin ? 'A' : 'O';
        // The stack holds one entry for the whole text besides the open containers.
        check(self->depthLimit < 0 || static_cast<int>(self->open.size()) + 1 <= std::max(self->depthLimit, 1));
        break;
      case kJsonArrayEnd:
        check(!self->open.empty() && self->open.back() == 'A');
        self->open.pop_back();
        self->valueDone();
        break;
      case kJsonObjectEnd:
        check(!self->open.empty() && self->open.back() == 'O');
        self->open.pop_back();
        self->valueDone();
        break;
      case kJsonKey:
        check(!self->open.empty() && self->open.back() == 'O');
        check(value != nullptr && value->text != nullptr && value->text[value->length] == '\0');
        self->log.append(value->text, value->length);
        self->open.back() = 'V';
        break;
      case kJsonString:
      case kJsonInteger:
      case kJsonReal:
      case kJsonNull:
      case kJsonTrue:
      case kJsonFalse:
        check(self->valueAllowed());
        if (value != nullptr && value->text != nullptr) {
          check(value->text[value->length] == '\0');
          self->log.append(value->text, value->length);
        } else if (type == kJsonInteger) {
          self->log += std::to_string(value->integer);
        }
        self->valueDone();
        break;
      default:
        check(false);
    }
    self->log += '|';
    return 1;
  }
};

struct Outcome {
  bool complete = false;
  std::string log;
};

Outcome feedBytes(const uint8_t* data, size_t size, JsonPushParserConfig config)
{
  EventChecker checker;
  checker.depthLimit = config.depth;
  config.callback = EventChecker::callback;
  config.callbackContext = &checker;
  JsonPushParser* parser = CreateJsonPushParser(&config);
  bool rejected = false;
  for (size_t i = 0; i < size; ++i) {
    if (JsonPushParserChar(parser, data[i]) == 0) {
      rejected = true;
      check(JsonPushParserChar(parser, '{') == 0 && JsonPushParserChar(parser, ' ') == 0);
      break;
    }
  }
  Outcome outcome;
  outcome.complete = !rejected && JsonPushParserDone(parser) == 1;
  DeleteJsonPushParser(parser);
  check(!outcome.complete || (checker.rootDone && checker.open.empty()));
  outcome.log = checker.log;
  return outcome;
}

// Text without a zero unit that is valid UTF-8: the driver must see exactly these bytes.
void compareWithDriver(const uint8_t* data, size_t size)
{
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      return;
    }
  }
  const char* bytes = reinterpret_cast<const char*>(data);
  int units = size == 0 ? 0 : MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes, static_cast<int>(size), nullptr, 0);
  if (size != 0 && units == 0) {
    return;
  }
  std::u16string text(static_cast<size_t>(units), u'\0');
  if (units != 0) {
    MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(size), text.data(), units);
  }
  JsonPushParserConfig config;
  EventChecker checker;
  checker.depthLimit = 20;
  int driven = ParseJsonText(&config, text.c_str(), EventChecker::callback, &checker);
  check(driven == 0 || (checker.rootDone && checker.open.empty()));
  config.callback = nullptr;
  Outcome direct = feedBytes(data, size, config);
  check(direct.complete == (driven == 1));
  check(direct.log == checker.log);
}

// Any value, written with escaping on, reads back as its own UTF-8.
struct StringCatcher {
  std::vector<std::string> strings;
  static int callback(void* context, int type, const JsonEventValue* value)
  {
    if (type == kJsonKey || type == kJsonString) {
      static_cast<StringCatcher*>(context)->strings.emplace_back(value->text, value->length);
    }
    return 1;
  }
};

void roundTrip(const uint8_t* data, size_t size)
{
  std::u16string value;
  for (size_t i = 0; i + 1 < size; i += 2) {
    char16_t unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    if (unit != 0) {
      value.push_back(unit);
    }
  }
  CJsonWriter writer;
  writer.BeginObject(u"operationType", u"x", false);
  writer.AddMember(u"v", value.c_str(), true);
  writer.EndObject();
  StringCatcher catcher;
  check(ParseJsonText(nullptr, writer.GetText(), StringCatcher::callback, &catcher) == 1);
  int size8 = WideCharToMultiByte(CP_UTF8, 0, value.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string expected(static_cast<size_t>(size8), '\0');
  WideCharToMultiByte(CP_UTF8, 0, value.c_str(), -1, expected.data(), size8, nullptr, nullptr);
  expected.pop_back();
  check(catcher.strings.size() == 4 && catcher.strings[3] == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size == 0) {
    return 0;
  }
  static constexpr int kDepths[8] = {-1, 0, 1, 2, 3, 20, 127, 300};
  uint8_t options = data[0];
  ++data;
  --size;
  JsonPushParserConfig config;
  InitJsonPushParserConfig(&config);
  config.depth = kDepths[options & 7];
  config.allowComments = (options & 8) != 0;
  config.realsAsText = (options & 16) != 0;
  feedBytes(data, size, config);
  compareWithDriver(data, size);
  if ((options & 32) != 0) {
    roundTrip(data, size);
  }
  return 0;
}
