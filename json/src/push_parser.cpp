// The event parser: a character-class table and a state-transition table, a stack of nesting
// modes and a buffer for the token being read. Both the stack and the buffer start inside the
// parser and move to the heap only when a text outgrows them.
#include "json/push_parser.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <new>

#include "json/utf_convert.h"
#include "push_parser_feed.h"
#include "text/scan.h"

namespace {

// Character classes. Bytes 0 to 31 other than tab, line feed and carriage return have none.
enum Class : uint8_t {
  Space, White, LCurly, RCurly, LSquare, RSquare, Colon, Comma, Quote, Backslash, Slash, Plus, Minus,
  Point, Star, Zero, Digit, LowA, LowB, LowC, LowD, LowE, LowF, LowL, LowN, LowR, LowS, LowT, LowU,
  UpperABCDF, UpperE, Other,
  kClassCount,
  NoClass = 0xFF,
};

enum State : uint8_t {
  GO,  // start
  OK,  // a value is complete
  OB,  // object begun
  KE,  // key expected
  CO,  // colon expected
  VA,  // value expected
  AR,  // array value or end
  ST,  // in a string
  ES,  // after a backslash
  U1, U2, U3, U4,  // hex digits of a "\u" escape
  MI,  // after a minus
  ZE,  // after a leading zero
  IN,  // integer digits
  FX,  // after the decimal point
  FR,  // fraction digits
  E1,  // after the exponent letter
  E2,  // after the exponent sign
  E3,  // exponent digits
  T1, T2, T3,  // true
  F1, F2, F3, F4,  // false
  N1, N2, N3,  // null
  C1,  // after the slash of a comment
  C2,  // in a comment
  C3,  // after a star in a comment
  D1,  // a high surrogate was decoded; its low partner's backslash must follow
  D2,  // after that backslash
  kStateCount,
};

// Transition entries below kActionBase are states; from it on, actions; kReject rejects.
constexpr uint8_t kActionBase = 64;
enum Action : uint8_t {
  MemberColon = kActionBase,  // : after a key
  ValueComma,                 // , after a value
  CloseString,                // quote ending a string or key
  OpenArray,
  OpenObject,
  CloseArray,
  CloseObject,       // } after a value
  CloseEmptyObject,  // } right after {
  OpenComment,
  CloseComment,
  BeginFalse,
  BeginTrue,
  BeginNull,
  Exponent,  // e or E after integer digits
  DecimalPoint,
  OpenString,
  BeginMinus,
  BeginZero,
  BeginDigit,
  EscapeBackslash,
  UnicodeEscapeDone,
};
constexpr uint8_t kReject = 0xFF;

// Modes of the nesting stack.
enum Mode : uint8_t { ArrayMode = 1, DoneMode = 2, KeyMode = 3, ObjectMode = 4 };

constexpr size_t kInlineStack = 128;
constexpr size_t kInlineBuffer = 3500;

struct ClassTable {
  uint8_t of[128];
};

constexpr ClassTable buildClasses()
{
  ClassTable table{};
  for (int ch = 0; ch < 32; ++ch) {
    table.of[ch] = NoClass;
  }
  for (int ch = 32; ch < 128; ++ch) {
    table.of[ch] = Other;
  }
  table.of['\t'] = table.of['\n'] = table.of['\r'] = White;
  table.of[' '] = Space;
  const struct {
    char ch;
    Class cls;
  } own[] = {{'{', LCurly}, {'}', RCurly}, {'[', LSquare}, {']', RSquare}, {':', Colon}, {',', Comma},
             {'"', Quote},  {'\\', Backslash}, {'/', Slash}, {'+', Plus}, {'-', Minus}, {'.', Point},
             {'*', Star},   {'0', Zero},  {'a', LowA},  {'b', LowB},  {'c', LowC},  {'d', LowD},
             {'e', LowE},   {'f', LowF},  {'l', LowL},  {'n', LowN},  {'r', LowR},  {'s', LowS},
             {'t', LowT},   {'u', LowU},  {'A', UpperABCDF}, {'B', UpperABCDF}, {'C', UpperABCDF},
             {'D', UpperABCDF}, {'F', UpperABCDF}, {'E', UpperE}};
  for (const auto& entry : own) {
    table.of[static_cast<unsigned char>(entry.ch)] = entry.cls;
  }
  for (int ch = '1'; ch <= '9'; ++ch) {
    table.of[ch] = Digit;
  }
  return table;
}

constexpr ClassTable kClasses = buildClasses();

struct TransitionTable {
  uint8_t next[kStateCount][kClassCount];

  constexpr void on(State state, std::initializer_list<Class> classes, uint8_t to)
  {
    for (Class cls : classes) {
      next[state][cls] = to;
    }
  }
  constexpr void onAll(State state, uint8_t to)
  {
    for (int cls = 0; cls < kClassCount; ++cls) {
      next[state][cls] = to;
    }
  }
};

constexpr std::initializer_list<Class> kBlank = {Space, White};
constexpr std::initializer_list<Class> kDigits = {Zero, Digit};
constexpr std::initializer_list<Class> kHexDigits = {Zero, Digit, LowA, LowB, LowC, LowD, LowE, LowF, UpperABCDF, UpperE};

constexpr TransitionTable buildTransitions()
{
  TransitionTable t{};
  for (int state = 0; state < kStateCount; ++state) {
    t.onAll(static_cast<State>(state), kReject);
  }
  t.on(GO, kBlank, GO);
  t.on(GO, {LCurly}, OpenObject);
  t.on(GO, {LSquare}, OpenArray);
  t.on(GO, {Slash}, OpenComment);

  t.on(OK, kBlank, OK);
  t.on(OK, {RCurly}, CloseObject);
  t.on(OK, {RSquare}, CloseArray);
  t.on(OK, {Comma}, ValueComma);
  t.on(OK, {Slash}, OpenComment);

  t.on(OB, kBlank, OB);
  t.on(OB, {RCurly}, CloseEmptyObject);
  t.on(OB, {Quote}, OpenString);
  t.on(OB, {Slash}, OpenComment);

  t.on(KE, kBlank, KE);
  t.on(KE, {Quote}, OpenString);
  t.on(KE, {Slash}, OpenComment);

  t.on(CO, kBlank, CO);
  t.on(CO, {Colon}, MemberColon);
  t.on(CO, {Slash}, OpenComment);

  for (State state : {VA, AR}) {
    t.on(state, kBlank, state);
    t.on(state, {LCurly}, OpenObject);
    t.on(state, {LSquare}, OpenArray);
    t.on(state, {Quote}, OpenString);
    t.on(state, {Slash}, OpenComment);
    t.on(state, {Minus}, BeginMinus);
    t.on(state, {Zero}, BeginZero);
    t.on(state, {Digit}, BeginDigit);
    t.on(state, {LowF}, BeginFalse);
    t.on(state, {LowN}, BeginNull);
    t.on(state, {LowT}, BeginTrue);
  }
  t.on(AR, {RSquare}, CloseArray);

  t.onAll(ST, ST);
  t.on(ST, {Quote}, CloseString);
  t.on(ST, {Backslash}, EscapeBackslash);
  t.on(ST, {White}, kReject);

  t.on(ES, {Quote, Backslash, Slash, LowB, LowF, LowN, LowR, LowT}, ST);
  t.on(ES, {LowU}, U1);
  t.on(U1, kHexDigits, U2);
  t.on(U2, kHexDigits, U3);
  t.on(U3, kHexDigits, U4);
  t.on(U4, kHexDigits, UnicodeEscapeDone);

  t.on(MI, {Zero}, ZE);
  t.on(MI, {Digit}, IN);
  // A number ends at a blank, a closing bracket, a comma or (mostly) a comment.
  for (State state : {ZE, IN, FX, FR, E3}) {
    t.on(state, kBlank, OK);
    t.on(state, {RCurly}, CloseObject);
    t.on(state, {RSquare}, CloseArray);
    t.on(state, {Comma}, ValueComma);
  }
  t.on(ZE, {Slash}, OpenComment);
  t.on(ZE, {Point}, DecimalPoint);
  t.on(IN, {Slash}, OpenComment);
  t.on(IN, {Point}, DecimalPoint);
  t.on(IN, kDigits, IN);
  t.on(IN, {LowE, UpperE}, Exponent);
  t.on(FX, kDigits, FR);
  t.on(FX, {LowE, UpperE}, E1);
  t.on(FR, {Slash}, OpenComment);
  t.on(FR, kDigits, FR);
  t.on(FR, {LowE, UpperE}, E1);
  t.on(E1, {Plus, Minus}, E2);
  t.on(E1, kDigits, E3);
  t.on(E2, kDigits, E3);
  t.on(E3, kDigits, E3);

  t.on(T1, {LowR}, T2);
  t.on(T2, {LowU}, T3);
  t.on(T3, {LowE}, OK);
  t.on(T3, {Slash}, OpenComment);
  t.on(F1, {LowA}, F2);
  t.on(F2, {LowL}, F3);
  t.on(F3, {LowS}, F4);
  t.on(F4, {LowE}, OK);
  t.on(F4, {Slash}, OpenComment);
  t.on(N1, {LowU}, N2);
  t.on(N2, {LowL}, N3);
  t.on(N3, {LowL}, OK);
  t.on(N3, {Slash}, OpenComment);

  t.on(C1, {Star}, C2);
  t.onAll(C2, C2);
  t.on(C2, {Star}, C3);
  t.onAll(C3, C2);
  t.on(C3, {Star}, C3);
  t.on(C3, {Slash}, CloseComment);

  t.on(D1, {Backslash}, D2);
  t.on(D2, {LowU}, U1);
  return t;
}

constexpr TransitionTable kTransitions = buildTransitions();

int hexValue(char ch)
{
  if (ch >= '0' && ch <= '9') {
    return ch - '0';
  }
  if (ch >= 'a' && ch <= 'f') {
    return ch - 'a' + 10;
  }
  return ch - 'A' + 10;
}

}  // namespace

struct JsonPushParser {
  JsonEventCallback callback = nullptr;
  void* callbackContext = nullptr;
  bool allowComments = false;
  bool realsAsText = false;
  bool failed = false;  // a byte was rejected: everything after it is rejected too

  uint8_t state = GO;
  uint8_t savedState = GO;  // where a comment returns to
  int valueType = kJsonNone;
  bool escapePending = false;
  bool inComment = false;
  char16_t utf16Pending[2] = {0, 0};

  // The mode stack: entries [0, top], at most depthLimit of them (negative: no limit).
  int depthLimit = 127;
  int top = -1;
  size_t stackCapacity = kInlineStack;
  uint8_t* stack = inlineStack;
  uint8_t inlineStack[kInlineStack];

  // The token being read; buffer[length] is always 0.
  size_t capacity = kInlineBuffer;
  size_t length = 0;
  char* buffer = inlineBuffer;
  char inlineBuffer[kInlineBuffer];

  JsonPushParser() { inlineBuffer[0] = 0; }
  JsonPushParser(const JsonPushParser&) = delete;
  JsonPushParser& operator=(const JsonPushParser&) = delete;
  ~JsonPushParser()
  {
    if (stack != inlineStack) {
      std::free(stack);
    }
    if (buffer != inlineBuffer) {
      std::free(buffer);
    }
  }

  int accept(int ch);
  int act(uint8_t action);
  size_t storeStringRun(const char* bytes, size_t count);

  bool push(uint8_t mode);
  bool pop(uint8_t mode);
  uint8_t mode() const { return stack[top]; }

  bool reserve(size_t more);
  bool store(char ch);
  void removeLast();
  void clearBuffer();
  bool event(int type);
  bool flush();
  bool decodeUnicodeEscape();
};

bool JsonPushParser::push(uint8_t mode)
{
  size_t count = static_cast<size_t>(top + 1);
  if (depthLimit >= 0 && count + 1 > static_cast<size_t>(depthLimit < 1 ? 1 : depthLimit)) {
    return false;
  }
  if (count == stackCapacity) {
    size_t grown = stackCapacity * 2;
    void* moved = stack == inlineStack ? std::malloc(grown) : std::realloc(stack, grown);
    if (moved == nullptr) {
      return false;
    }
    if (stack == inlineStack) {
      std::memcpy(moved, inlineStack, count);
    }
    stack = static_cast<uint8_t*>(moved);
    stackCapacity = grown;
  }
  stack[++top] = mode;
  return true;
}

bool JsonPushParser::pop(uint8_t mode)
{
  if (top < 0 || stack[top] != mode) {
    return false;
  }
  --top;
  return true;
}

bool JsonPushParser::reserve(size_t more)
{
  if (length + more < capacity) {
    return true;
  }
  size_t grown = capacity;
  while (length + more >= grown) {
    grown *= 2;
  }
  void* moved = buffer == inlineBuffer ? std::malloc(grown) : std::realloc(buffer, grown);
  if (moved == nullptr) {
    return false;
  }
  if (buffer == inlineBuffer) {
    std::memcpy(moved, inlineBuffer, length + 1);
  }
  buffer = static_cast<char*>(moved);
  capacity = grown;
  return true;
}

bool JsonPushParser::store(char ch)
{
  if (!reserve(1)) {
    return false;
  }
  buffer[length++] = ch;
  buffer[length] = 0;
  return true;
}

void JsonPushParser::removeLast()
{
  if (length > 0) {
    buffer[--length] = 0;
  }
}

void JsonPushParser::clearBuffer()
{
  length = 0;
  buffer[0] = 0;
}

bool JsonPushParser::event(int type)
{
  return callback == nullptr || callback(callbackContext, type, nullptr) != 0;
}

// Stores the bytes of a string up to its next quote, backslash or control byte, as accept
// would one by one (each of them takes the state from ST to ST); returns how many.
size_t JsonPushParser::storeStringRun(const char* bytes, size_t count)
{
  size_t run = 0;
  while (run < count) {
    const auto byte = static_cast<unsigned char>(bytes[run]);
    if (byte < 0x20 || byte == '"' || byte == '\\') {
      break;
    }
    ++run;
  }
  if (run == 0) {
    return 0;
  }
  if (!reserve(run)) {
    failed = true;
    return 0;
  }
  std::memcpy(buffer + length, bytes, run);
  length += run;
  buffer[length] = 0;
  return run;
}

// Delivers the value that has been read, if any, and empties the buffer.
bool JsonPushParser::flush()
{
  int type = valueType;
  valueType = kJsonNone;
  bool delivered = true;
  if (callback != nullptr && type != kJsonNone) {
    JsonEventValue value;
    const JsonEventValue* argument = nullptr;
    if (type == kJsonInteger) {
      sscanf(buffer, "%ld", &value.integer);
      argument = &value;
    } else if (type == kJsonReal && !realsAsText) {
      sscanf(buffer, "%lf", &value.real);
      argument = &value;
    } else if (type == kJsonReal || type == kJsonString) {
      value.text = buffer;
      value.length = length;
      argument = &value;
    }
    delivered = callback(callbackContext, type, argument) != 0;
  }
  clearBuffer();
  return delivered;
}

// The buffer ends with "\uXXXX": replace it by the UTF-8 of the unit, or of the surrogate pair
// once the low half has arrived.
bool JsonPushParser::decodeUnicodeEscape()
{
  const char* hex = buffer + length - 4;
  char16_t unit = static_cast<char16_t>(hexValue(hex[0]) << 12 | hexValue(hex[1]) << 8 | hexValue(hex[2]) << 4 |
                                        hexValue(hex[3]));
  int units = 1;
  if (utf16Pending[0] == 0) {
    utf16Pending[0] = unit;
  } else {
    utf16Pending[1] = unit;
    units = 2;
  }
  length -= 6;
  const char16_t* source = utf16Pending;
  uint8_t* target = reinterpret_cast<uint8_t*>(buffer + length);
  Utf16ToUtf8Result result = Utf16ToUtf8(&source, utf16Pending + units, &target, target + 6, kUtfStrict);
  if (result == kUtfSourceExhausted) {
    buffer[length] = 0;
    state = D1;
    return true;
  }
  if (result != kUtfConversionOk) {
    return false;
  }
  length = static_cast<size_t>(reinterpret_cast<char*>(target) - buffer);
  buffer[length] = 0;
  utf16Pending[0] = utf16Pending[1] = 0;
  state = ST;
  return true;
}

int JsonPushParser::accept(int ch)
{
  if (ch < 0 || ch > 255) {
    return 0;
  }
  uint8_t cls = ch >= 128 ? static_cast<uint8_t>(Other) : kClasses.of[ch];
  if (cls == NoClass) {
    return 0;
  }

  if (escapePending) {
    escapePending = false;
    removeLast();
    char stored = 0;
    switch (ch) {
      case '"': case '\\': case '/': stored = static_cast<char>(ch); break;
      case 'b': stored = '\b'; break;
      case 'f': stored = '\f'; break;
      case 'n': stored = '\n'; break;
      case 'r': stored = '\r'; break;
      case 't': stored = '\t'; break;
      case 'u':  // kept as it stands until its four digits are there
        if (!store('\\')) {
          return 0;
        }
        stored = 'u';
        break;
      default: return 0;
    }
    if (!store(stored)) {
      return 0;
    }
  } else if (!inComment && (valueType != kJsonNone || (cls != Space && cls != White))) {
    if (!store(static_cast<char>(ch))) {
      return 0;
    }
  }

  uint8_t next = kTransitions.next[state][cls];
  if (next < kActionBase) {
    state = next;
    return 1;
  }
  if (next == kReject) {
    return 0;
  }
  return act(next);
}

int JsonPushParser::act(uint8_t action)
{
  switch (action) {
    case MemberColon:
      removeLast();
      if (!pop(KeyMode) || !push(ObjectMode)) {
        return 0;
      }
      state = VA;
      return 1;

    case ValueComma:
      removeLast();
      if (top < 0 || (mode() != ArrayMode && mode() != ObjectMode) || !flush()) {
        return 0;
      }
      if (mode() == ObjectMode) {
        pop(ObjectMode);
        push(KeyMode);
        state = KE;
      } else {
        state = VA;
      }
      return 1;

    case CloseString:
      removeLast();
      if (top < 0) {
        return 0;
      }
      if (mode() == KeyMode) {
        if (callback != nullptr) {
          JsonEventValue key;
          key.text = buffer;
          key.length = length;
          if (callback(callbackContext, kJsonKey, &key) == 0) {
            return 0;
          }
        }
        clearBuffer();
        valueType = kJsonNone;
        state = CO;
        return 1;
      }
      if ((mode() != ArrayMode && mode() != ObjectMode) || !flush()) {
        return 0;
      }
      state = OK;
      return 1;

    case OpenArray:
      removeLast();
      if (!push(ArrayMode) || !event(kJsonArrayBegin)) {
        return 0;
      }
      state = AR;
      return 1;

    case OpenObject:
      removeLast();
      if (!push(KeyMode) || !event(kJsonObjectBegin)) {
        return 0;
      }
      state = OB;
      return 1;

    case CloseArray:
      removeLast();
      if (!pop(ArrayMode) || !flush() || !event(kJsonArrayEnd)) {
        return 0;
      }
      state = OK;
      return 1;

    case CloseObject:
      removeLast();
      if (!pop(ObjectMode) || !flush() || !event(kJsonObjectEnd)) {
        return 0;
      }
      state = OK;
      return 1;

    case CloseEmptyObject:
      clearBuffer();
      if (!pop(KeyMode) || !event(kJsonObjectEnd)) {
        return 0;
      }
      state = OK;
      return 1;

    case OpenComment:
      if (!allowComments) {
        return 0;
      }
      removeLast();
      if (!flush()) {
        return 0;
      }
      // Inside an array or an object a comment after a value's first byte ends that value.
      savedState = state;
      if (top >= 0 && (mode() == ArrayMode || mode() == ObjectMode) && state != VA && state != AR) {
        savedState = OK;
      }
      inComment = true;
      state = C1;
      return 1;

    case CloseComment:
      inComment = false;
      state = savedState;
      return 1;

    case BeginFalse: valueType = kJsonFalse; state = F1; return 1;
    case BeginTrue: valueType = kJsonTrue; state = T1; return 1;
    case BeginNull: valueType = kJsonNull; state = N1; return 1;
    case Exponent: valueType = kJsonReal; state = E1; return 1;
    case DecimalPoint: valueType = kJsonReal; state = FX; return 1;
    case BeginMinus: valueType = kJsonInteger; state = MI; return 1;
    case BeginZero: valueType = kJsonInteger; state = ZE; return 1;
    case BeginDigit: valueType = kJsonInteger; state = IN; return 1;

    case OpenString:
      clearBuffer();
      valueType = kJsonString;
      state = ST;
      return 1;

    case EscapeBackslash:
      escapePending = true;
      state = ES;
      return 1;

    case UnicodeEscapeDone:
      return decodeUnicodeEscape() ? 1 : 0;

    default:
      return 0;
  }
}

void InitJsonPushParserConfig(JsonPushParserConfig* config)
{
  *config = JsonPushParserConfig{};
  config->depth = 127;
}

JsonPushParser* CreateJsonPushParser(const JsonPushParserConfig* config)
{
  JsonPushParserConfig defaults;
  if (config == nullptr) {
    InitJsonPushParserConfig(&defaults);
    config = &defaults;
  }
  auto* parser = new (std::nothrow) JsonPushParser;
  if (parser == nullptr) {
    return nullptr;
  }
  parser->callback = config->callback;
  parser->callbackContext = config->callbackContext;
  parser->depthLimit = config->depth;
  parser->allowComments = config->allowComments != 0;
  parser->realsAsText = config->realsAsText != 0;
  parser->push(DoneMode);
  return parser;
}

int JsonPushParserChar(JsonPushParser* parser, int ch)
{
  if (parser->failed) {
    return 0;
  }
  int accepted = parser->accept(ch);
  parser->failed = accepted == 0;
  return accepted;
}

size_t JsonPushParserFeed(JsonPushParser* parser, const char* bytes, size_t count)
{
  size_t fed = 0;
  while (fed < count && !parser->failed) {
    // Inside a string most bytes are plain: they are stored as a run.
    if (parser->state == ST && !parser->escapePending) {
      size_t run = parser->storeStringRun(bytes + fed, count - fed);
      fed += run;
      if (run != 0 || parser->failed) {
        continue;
      }
    }
    parser->failed = parser->accept(static_cast<unsigned char>(bytes[fed])) == 0;
    fed += parser->failed ? 0 : 1;
  }
  return fed;
}

int JsonPushParserDone(JsonPushParser* parser)
{
  if (parser->failed || parser->state != OK || !parser->pop(DoneMode)) {
    return 0;
  }
  return 1;
}

void DeleteJsonPushParser(JsonPushParser* parser)
{
  delete parser;
}
