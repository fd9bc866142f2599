// The event parser fed byte by byte, and through its wide-text driver: which texts it accepts,
// the events it delivers, and where it stops.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "json/parse_json_text.h"
#include "json/push_parser.h"
#include "text/codepage.h"

namespace {

// Records every event as a short word: [ ] { } i:1 r:1.5 null true false s:text k:key.
struct Recorder {
  std::string events;
  int refuseAfter = -1;  // refuse the event with this index
  int count = 0;

  static int callback(void* context, int type, const JsonEventValue* value)
  {
    auto* self = static_cast<Recorder*>(context);
    std::string word;
    switch (type) {
      case kJsonArrayBegin: word = "["; break;
      case kJsonArrayEnd: word = "]"; break;
      case kJsonObjectBegin: word = "{"; break;
      case kJsonObjectEnd: word = "}"; break;
      case kJsonInteger: word = "i:" + std::to_string(value->integer); break;
      case kJsonReal:
        word = value->text != nullptr ? "r:" + std::string(value->text, value->length) : "r=" + std::to_string(value->real);
        break;
      case kJsonNull: word = "null"; break;
      case kJsonTrue: word = "true"; break;
      case kJsonFalse: word = "false"; break;
      case kJsonString: word = "s:" + std::string(value->text, value->length); break;
      case kJsonKey: word = "k:" + std::string(value->text, value->length); break;
      default: word = "?"; break;
    }
    if (!self->events.empty()) {
      self->events += ' ';
    }
    self->events += word;
    return self->count++ == self->refuseAfter ? 0 : 1;
  }
};

struct Fed {
  bool complete = false;  // every byte accepted and the text complete
  size_t rejectedAt = std::string::npos;
  std::string events;
};

Fed feed(const std::string& text, JsonPushParserConfig config, Recorder recorder = {})
{
  config.callback = Recorder::callback;
  config.callbackContext = &recorder;
  JsonPushParser* parser = CreateJsonPushParser(&config);
  Fed fed;
  for (size_t i = 0; i < text.size(); ++i) {
    if (JsonPushParserChar(parser, static_cast<unsigned char>(text[i])) == 0) {
      fed.rejectedAt = i;
      break;
    }
  }
  fed.complete = fed.rejectedAt == std::string::npos && JsonPushParserDone(parser) == 1;
  DeleteJsonPushParser(parser);
  fed.events = recorder.events;
  return fed;
}

JsonPushParserConfig defaults()
{
  JsonPushParserConfig config;
  InitJsonPushParserConfig(&config);
  return config;
}

JsonPushParserConfig replyConfig()
{
  JsonPushParserConfig config = defaults();
  config.depth = 20;
  config.allowComments = 1;
  config.realsAsText = 1;
  return config;
}

std::string nested(int depth)
{
  return std::string(static_cast<size_t>(depth), '[') + std::string(static_cast<size_t>(depth), ']');
}

struct AcceptCase {
  std::u16string text;
  bool accepted;
};

TEST(JsonPushParser, AcceptsAndRejectsRepliesAsTheDriverParsesThem)
{
  const std::u16string deepest(19, u'[');
  const AcceptCase cases[] = {
      // The root is one object or one array; blanks and comments around it.
      {u"{}", true}, {u"[]", true}, {u" \t\r\n{ } \n", true}, {u"", false}, {u"   ", false},
      {u"1", false}, {u"\"x\"", false}, {u"null", false}, {u"{", false}, {u"{\"a\":1", false},
      {u"{} x", false}, {u"{}{}", false}, {u"[],", false}, {u"{} /* after */ ", true},
      // Depth 20: nineteen nested arrays fit, the twentieth bracket does not.
      {deepest + std::u16string(19, u']'), true}, {deepest + u"[" + std::u16string(20, u']'), false},
      {u"{\"a\":{\"b\":{\"c\":[[{}]]}}}", true},
      // Trailing commas and other separators.
      {u"[1,]", false}, {u"{\"a\":1,}", false}, {u"[,1]", false}, {u"{,}", false}, {u"[1 2]", false},
      {u"{\"a\" 1}", false}, {u"{a:1}", false}, {u"{\"a\":1 \"b\":2}", false}, {u"[}", false}, {u"{]", false},
      {u"{\"a\":[1}", false}, {u"[1,[2,3],{\"b\":null}]", true},
      // Block comments only, closed, between tokens.
      {u"/* c */{/* c */\"a\"/* c */:/* c */1/* c */}", true}, {u"[1// c\n]", false}, {u"[1 /* c ]", false},
      {u"[/**/]", true}, {u"[/***/]", true}, {u"[/* a * b / c */1]", true}, {u"[\"/* not a comment */\"]", true},
      {u"[tru/**/]", true}, {u"[1/*c*/,2]", true},
      // Strings: a tab or line feed must be escaped, a blank is kept.
      {u"[\"a\tb\"]", false}, {u"[\"a\nb\"]", false}, {u"[\"a\\tb\\nc\"]", true}, {u"[\"a b\"]", true},
      {u"[\"\x01\"]", false}, {u"[\"\\x\"]", false}, {u"[\"\\u12\"]", false}, {u"[\"\\u12g4\"]", false},
      {u"[\"\\\"\\\\\\/\\b\\f\\r\"]", true}, {u"[\"中文\"]", true},
      // Surrogate pairs: a high half directly followed by a low one.
      {u"[\"\\ud83d\\ude00\"]", true}, {u"[\"\\uD83D\\uDE00\"]", true}, {u"[\"\\ud83dx\"]", false},
      {u"[\"\\ud83d\"]", false}, {u"[\"\\ude00\"]", false}, {u"[\"\\ud83d\\u0041\"]", false},
      {u"[\"\\ud83d\\ud83d\"]", false},
      // Numbers: "1." ends as a real; a lone minus, leading zeros and a bare point do not.
      {u"[1.]", true}, {u"[1. ]", true}, {u"[1.,2]", true}, {u"[0.5,-0,-12,3e5,4E+2,5.5e-3]", true},
      {u"[-]", false}, {u"[- ]", false}, {u"[01]", false}, {u"[.5]", false}, {u"[1e]", false},
      {u"[1e+]", false}, {u"[+1]", false}, {u"[1.5.2]", false},
      // Literals, lower case only.
      {u"[true,false,null]", true}, {u"[tru]", false}, {u"[True]", false}, {u"[nul]", false},
  };
  for (const AcceptCase& c : cases) {
    EXPECT_EQ(ParseJsonText(nullptr, c.text.c_str(), nullptr, nullptr), c.accepted ? 1 : 0)
        << std::string(c.text.begin(), c.text.end());
  }
}

TEST(JsonPushParser, DeliversEventsInOrderWithEscapesResolved)
{
  Fed fed = feed("{\"a\": [1, -2, 0.5, 1e3, \"x\\\"y\"], \"b\":{\"c\":null,\"d\":true,\"e\":false}, \"f\":{}, \"g\":[]}",
                 defaults());
  EXPECT_TRUE(fed.complete);
  EXPECT_EQ(fed.events, "{ k:a [ i:1 i:-2 r=0.500000 r=1000.000000 s:x\"y ] k:b { k:c null k:d true k:e false } "
                        "k:f { } k:g [ ] }");
}

TEST(JsonPushParser, RealsAsTextKeepTheBlanksThatEndedThem)
{
  Fed fed = feed("[1.5 , 2e1]", replyConfig());
  EXPECT_TRUE(fed.complete);
  EXPECT_EQ(fed.events, "[ r:1.5  r:2e1 ]");
}

TEST(JsonPushParser, UnicodeEscapesBecomeUtf8)
{
  Fed fed = feed("[\"\\u4e2d\\u6587 \\u00e9\\u0041\", \"\\ud83d\\ude00\", \"\\u0000\"]", defaults());
  EXPECT_TRUE(fed.complete);
  EXPECT_EQ(fed.events, std::string("[ s:中文 éA s:\U0001F600 s:") + std::string(1, '\0') + " ]");
}

TEST(JsonPushParser, IntegersSaturateAtThirtyTwoBits)
{
  Fed fed = feed("[2147483647,2147483648,-2147483648,-99999999999]", defaults());
  EXPECT_EQ(fed.events, "[ i:2147483647 i:2147483647 i:-2147483648 i:-2147483648 ]");
}

TEST(JsonPushParser, ACommentRightAfterTruEndsTheValueAsTrue)
{
  JsonPushParserConfig config = defaults();
  config.allowComments = 1;
  EXPECT_EQ(feed("[tru/* x */]", config).events, "[ true ]");
  EXPECT_EQ(feed("{\"a\":nul/**/,\"b\":fals/**/}", config).events, "{ k:a null k:b false }");
}

TEST(JsonPushParser, CommentsAreRejectedUnlessAllowed)
{
  Fed fed = feed("[1/**/]", defaults());
  EXPECT_FALSE(fed.complete);
  EXPECT_EQ(fed.rejectedAt, 2u);
}

TEST(JsonPushParser, EverythingAfterARejectedByteIsRejected)
{
  JsonPushParserConfig config = defaults();
  config.callback = Recorder::callback;
  Recorder recorder;
  config.callbackContext = &recorder;
  JsonPushParser* parser = CreateJsonPushParser(&config);
  std::string text = "{\"a\":1 x";
  for (char ch : text) {
    JsonPushParserChar(parser, static_cast<unsigned char>(ch));
  }
  for (char ch : std::string(",\"b\":2}")) {
    EXPECT_EQ(JsonPushParserChar(parser, static_cast<unsigned char>(ch)), 0) << ch;
  }
  EXPECT_EQ(JsonPushParserDone(parser), 0);
  DeleteJsonPushParser(parser);
  EXPECT_EQ(recorder.events, "{ k:a") << "the rejected byte ended the text before 1 was delivered";
}

TEST(JsonPushParser, ARefusingCallbackRejectsTheByte)
{
  Recorder recorder;
  recorder.refuseAfter = 2;  // the integer
  Fed fed = feed("{\"a\":12,\"b\":3}", defaults(), recorder);
  EXPECT_EQ(fed.rejectedAt, 7u) << "the comma that flushed 12";
  EXPECT_EQ(fed.events, "{ k:a i:12");
}

TEST(JsonPushParser, DepthCountsTheOutermostEntry)
{
  JsonPushParserConfig config = defaults();
  config.depth = 20;
  EXPECT_TRUE(feed(nested(19), config).complete);
  EXPECT_EQ(feed(nested(20), config).rejectedAt, 19u);
  config.depth = 0;
  EXPECT_EQ(feed("[]", config).rejectedAt, 0u) << "0 counts as 1";
  config.depth = 1;
  EXPECT_EQ(feed("{}", config).rejectedAt, 0u);
  config.depth = 300;
  EXPECT_TRUE(feed(nested(299), config).complete);
  EXPECT_EQ(feed(nested(300), config).rejectedAt, 299u);
  config.depth = -1;
  EXPECT_TRUE(feed(nested(5000), config).complete) << "no limit: the stack grows on the heap";
  EXPECT_TRUE(feed(nested(126), defaults()).complete) << "the default depth is 127";
  EXPECT_FALSE(feed(nested(127), defaults()).complete);
}

TEST(JsonPushParser, TokensLongerThanTheInlineBufferArriveWhole)
{
  std::string longText(20000, 'x');
  for (size_t i = 0; i < longText.size(); i += 7) {
    longText[i] = static_cast<char>(0xE4);  // bytes above 127 pass as they are
  }
  std::string digits(9000, '1');
  Fed fed = feed("{\"" + longText + "\":\"" + longText + "\\u4e2d\",\"r\":1." + digits + "}", replyConfig());
  EXPECT_TRUE(fed.complete);
  EXPECT_EQ(fed.events, "{ k:" + longText + " s:" + longText + "中 k:r r:1." + digits + " }");
}

TEST(JsonPushParser, DoneOnlyOnceForACompleteText)
{
  JsonPushParser* parser = CreateJsonPushParser(nullptr);
  EXPECT_EQ(JsonPushParserDone(parser), 0) << "nothing fed";
  for (char ch : std::string("[]")) {
    EXPECT_EQ(JsonPushParserChar(parser, ch), 1);
  }
  EXPECT_EQ(JsonPushParserChar(parser, -1), 0) << "negative characters are rejected";
  EXPECT_EQ(JsonPushParserDone(parser), 0) << "and end the text";
  DeleteJsonPushParser(parser);
  DeleteJsonPushParser(nullptr);

  parser = CreateJsonPushParser(nullptr);
  for (char ch : std::string("[] ")) {
    JsonPushParserChar(parser, ch);
  }
  EXPECT_EQ(JsonPushParserDone(parser), 1);
  EXPECT_EQ(JsonPushParserDone(parser), 0);
  EXPECT_EQ(JsonPushParserChar(parser, ']'), 0);
  DeleteJsonPushParser(parser);
}

TEST(ParseJsonText, FeedsUtf8AndStopsAtTheFirstRejectedByte)
{
  Recorder recorder;
  EXPECT_EQ(ParseJsonText(nullptr, u"{\"名\":\"中文\",\"e\":\"\\u4e2d\"}", Recorder::callback, &recorder), 1);
  EXPECT_EQ(recorder.events, "{ k:名 s:中文 k:e s:中 }");

  Recorder damaged;
  JsonPushParserConfig config;
  EXPECT_EQ(ParseJsonText(&config, u"{\"resultStatus\":100 # \"memo\":\"x\",\"resultStatus\":200}", Recorder::callback,
                          &damaged),
            0);
  EXPECT_EQ(damaged.events, "{ k:resultStatus") << "nothing after the fault reaches the callback";
  EXPECT_EQ(config.depth, 20);
  EXPECT_EQ(config.allowComments, 1);
  EXPECT_EQ(config.realsAsText, 1);
  EXPECT_EQ(config.callbackContext, &damaged);
}

// The driver converts the text a piece at a time and feeds runs of string bytes at once; the
// parser must see exactly what feeding the text's UTF-8 byte by byte shows it: random replies,
// damaged here and there, with escapes, comments, non-ASCII text, lone surrogates and strings
// longer than a piece.
TEST(ParseJsonText, AgreesWithFeedingTheUtf8ByteByByte)
{
  const std::u16string pieces[] = {u"{", u"}", u"[", u"]", u",", u":", u" ", u"\"", u"\"memo\"", u"\"中文 ü\"",
                                   u"\\n", u"\\u4e2d", u"\\ud83d\\ude00", u"\\ud83d", u"/* c */", u"-12",
                                   u"3.5e+2", u"true", u"null", u"\t", u"\U0001F600", std::u16string(1, 0xDC00),
                                   u"\\", u"\x01", u"x", std::u16string(5000, u'a')};
  std::mt19937 random(3500);
  for (int i = 0; i < 3000; ++i) {
    std::u16string text = u"{\"k\":";
    for (int count = static_cast<int>(random() % 30); count > 0; --count) {
      text += pieces[random() % 26 == 25 && random() % 4 != 0 ? 0 : random() % 26];
    }
    if (random() % 2 == 0) {
      text += u"}";
    }
    Recorder driven;
    int result = ParseJsonText(nullptr, text.c_str(), Recorder::callback, &driven);

    std::string utf8(text.size() * 3, '\0');
    utf8.resize(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                        utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr)));
    Fed fed = feed(utf8, replyConfig());
    ASSERT_EQ(result == 1, fed.complete) << i;
    ASSERT_EQ(driven.events, fed.events) << i;
  }
}

TEST(ParseJsonText, AnUnpairedSurrogateInTheTextBecomesAReplacementCharacter)
{
  Recorder recorder;
  const WCHAR text[] = {u'[', u'"', 0xD800, u'"', u']', 0};
  EXPECT_EQ(ParseJsonText(nullptr, text, Recorder::callback, &recorder), 1);
  EXPECT_EQ(recorder.events, "[ s:\xEF\xBF\xBD ]");
  EXPECT_EQ(ParseJsonText(nullptr, nullptr, nullptr, nullptr), 0);
}

}  // namespace
