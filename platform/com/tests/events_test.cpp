// A sink connects to a source's connection point, receives its events with their arguments
// and disconnects.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "com/com.h"

namespace {

// {8856F961-340A-11D0-A96B-00C04FD705A2}: an event interface id for the tests.
constexpr IID kEvents = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};
constexpr DISPID kBeforeNavigate = 250;
constexpr DISPID kDocumentComplete = 259;

// An object that fires kEvents.
class Source final : public IConnectionPointContainer {
 public:
  CConnectionPoint point{*this, kEvents};
  ULONG references = 1;

  HRESULT QueryInterface(REFIID riid, void** ppvObject) override
  {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IConnectionPointContainer)) {
      *ppvObject = static_cast<IConnectionPointContainer*>(this);
      AddRef();
      return S_OK;
    }
    *ppvObject = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++references; }
  ULONG Release() override { return --references; }
  HRESULT FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override
  {
    if (!IsEqualIID(riid, kEvents)) {
      *ppCP = nullptr;
      return CONNECT_E_NOCONNECTION;
    }
    return point.QueryInterface(IID_IConnectionPoint, reinterpret_cast<void**>(ppCP));
  }

  // Fires "before navigate" with a URL and a cancel flag, both by reference, as a browser does.
  bool FireBeforeNavigate(const char16_t* url)
  {
    VARIANT urlValue;
    VariantInit(&urlValue);
    urlValue.vt = VT_BSTR;
    urlValue.bstrVal = SysAllocString(url);
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT arguments[2];
    VariantInit(&arguments[1]);
    arguments[1].vt = VT_BYREF | VT_VARIANT;  // first argument: the URL
    arguments[1].pvarVal = &urlValue;
    VariantInit(&arguments[0]);
    arguments[0].vt = VT_BYREF | VT_BOOL;  // last argument: the cancel flag
    arguments[0].pboolVal = &cancel;
    point.Fire(kBeforeNavigate, arguments, 2);
    VariantClear(&urlValue);
    return cancel == VARIANT_TRUE;
  }
};

TEST(EventSink, ASinkReceivesItsEventsWithTheirArgumentsUntilItDisconnects)
{
  Source source;
  CDispEventSink sink(kEvents);
  std::vector<std::u16string> urls;
  sink.On(kBeforeNavigate, [&](DISPPARAMS& params) {
    VARIANT* url = EventArgument(params, 0);
    ASSERT_NE(url, nullptr);
    ASSERT_EQ(url->vt, VT_BSTR);
    urls.emplace_back(url->bstrVal);
    VARIANT* cancel = EventArgument(params, 1);
    ASSERT_EQ(cancel->vt, VT_BYREF | VT_BOOL);
    *cancel->pboolVal = VARIANT_TRUE;
    EXPECT_EQ(EventArgument(params, 2), nullptr);
  });

  EXPECT_FALSE(source.FireBeforeNavigate(u"https://a.test/"));  // nobody connected yet
  ASSERT_EQ(sink.Advise(&source), S_OK);
  EXPECT_EQ(sink.Advise(&source), E_UNEXPECTED);  // one source at a time
  EXPECT_TRUE(source.FireBeforeNavigate(u"https://b.test/trade_pay.do"));
  source.point.Fire(kDocumentComplete, nullptr, 0);  // no handler: ignored
  EXPECT_EQ(sink.Unadvise(), S_OK);
  EXPECT_FALSE(source.point.HasSinks());
  EXPECT_FALSE(source.FireBeforeNavigate(u"https://c.test/"));
  EXPECT_EQ(urls, std::vector<std::u16string>{u"https://b.test/trade_pay.do"});
  EXPECT_EQ(sink.Unadvise(), S_FALSE);
  EXPECT_EQ(source.references, 1u);  // every reference taken through the source was given back
}

TEST(EventSink, ASinkMayDisconnectAnotherDuringAnEvent)
{
  Source source;
  CDispEventSink first(kEvents), second(kEvents);
  int secondCalls = 0;
  first.On(kDocumentComplete, [&](DISPPARAMS&) { second.Unadvise(); });
  second.On(kDocumentComplete, [&](DISPPARAMS&) { ++secondCalls; });
  ASSERT_EQ(first.Advise(&source), S_OK);
  ASSERT_EQ(second.Advise(&source), S_OK);
  source.point.Fire(kDocumentComplete, nullptr, 0);
  EXPECT_EQ(secondCalls, 0);
  {
    CDispEventSink scoped(kEvents);
    ASSERT_EQ(scoped.Advise(&source), S_OK);
  }  // disconnects as it goes
  EXPECT_EQ(first.Unadvise(), S_OK);
  EXPECT_FALSE(source.point.HasSinks());
}

TEST(EventSink, ConnectingFailsCleanly)
{
  Source source;
  // {00000001-0000-0000-0000-000000000001}: events the source does not fire.
  constexpr IID otherEvents = {1, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
  CDispEventSink sink(otherEvents);
  EXPECT_EQ(sink.Advise(&source), CONNECT_E_NOCONNECTION);
  EXPECT_FALSE(sink.IsConnected());
  EXPECT_EQ(source.point.Unadvise(42), CONNECT_E_NOCONNECTION);
  DWORD cookie = 7;
  Source plain;
  EXPECT_EQ(AtlAdvise(&plain.point, &sink, kEvents, &cookie), E_NOINTERFACE);  // not a container
  EXPECT_EQ(source.references, 1u);
}

}  // namespace
