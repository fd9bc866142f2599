// The fixture of the browser control's tests: a device whose pages come from a test gateway
// over HTTPS (trusted through the device's CA bundle), a dialog-like parent window holding the
// control in a host window, and a sink that records the control's events.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "atl/com_ptr.h"
#include "com/com.h"
#include "html/web_browser.h"
#include "testgateway/test_gateway.h"
#include "testing/device_root.h"
#include "testing/message_log.h"
#include "testing/ui_harness.h"
#include "windows.h"

struct BrowserEvent {
  DISPID id;
  std::string url;
  std::string postData;  // BeforeNavigate2
  std::string headers;   // BeforeNavigate2
  LONG status = 0;       // NavigateError
  std::string title;     // DocumentComplete: the document's title then
};

class BrowserTest : public ::testing::Test {
 protected:
  BrowserTest() : gateway(testgateway::GatewayOptions{.tlsDir = std::filesystem::path(root.path()) / "certs"}) {}

  void SetUp() override
  {
    gateway.start();
    std::ofstream(std::filesystem::path(root.path()) / "device.ini")
        << "[network]\nca_bundle = certs/ca.pem\nconnect_timeout = 10\n";
    ASSERT_TRUE(AtlAxWinInit());
    Open(240, 320);
  }

  // A screen of that size with a dialog filling it and the control in it above a soft-key bar.
  void Open(int width, int height)
  {
    if (sink.IsConnected())
      sink.Unadvise();
    browser.Release();
    kvtest::DestroyThreadWindows();
    kvtest::SetScreenSize(width, height);
    dialog = kvtest::CreateRecordingWindow(log, {.name = "dialog", .style = WS_POPUP | WS_VISIBLE, .rect = {0, 0, width, height}});
    host = CreateWindowExW(0, BROWSER_HOST_CLASS, BROWSER_PROGID, WS_CHILD | WS_VISIBLE, 0, 0, width, height * 15 / 16,
                           dialog, nullptr, nullptr, nullptr);
    ASSERT_NE(host, nullptr);
    CComPtr<IUnknown> control;
    ASSERT_EQ(S_OK, AtlAxGetControl(host, &control));
    ASSERT_EQ(S_OK, control->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser)));
    Record(DISPID_BEFORENAVIGATE2);
    Record(DISPID_NAVIGATECOMPLETE2);
    Record(DISPID_DOCUMENTCOMPLETE);
    Record(DISPID_NAVIGATEERROR);
    ASSERT_EQ(S_OK, sink.Advise(browser));
  }

  void TearDown() override
  {
    sink.Unadvise();
    browser.Release();
    kvtest::DestroyThreadWindows();
  }

  std::string Url(const std::string& path) const { return gateway.httpsUrl() + path; }

  static std::string Utf8(const std::u16string& text) { return kvtest::Narrow(text); }
  static std::u16string Wide(const std::string& text)
  {
    std::u16string out;
    for (size_t i = 0; i < text.size();) {
      const auto lead = static_cast<unsigned char>(text[i]);
      const int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
      char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
      for (int k = 1; k <= extra && i + static_cast<size_t>(k) < text.size(); ++k)
        code = (code << 6) | (static_cast<unsigned char>(text[i + static_cast<size_t>(k)]) & 0x3F);
      i += static_cast<size_t>(extra) + 1;
      if (code >= 0x10000) {
        out += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
        out += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
      } else {
        out += static_cast<char16_t>(code);
      }
    }
    return out;
  }

  // Navigate2 with a URL, and post data and headers when given.
  HRESULT Navigate(const std::string& url, std::optional<std::string> post = std::nullopt, const std::string& headers = "")
  {
    VARIANT target;
    VariantInit(&target);
    target.vt = VT_BSTR;
    target.bstrVal = SysAllocString(Wide(url).c_str());
    VARIANT postData;
    VariantInit(&postData);
    if (post) {
      postData.vt = VT_ARRAY | VT_UI1;
      postData.parray = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(post->size()));
      void* data = nullptr;
      SafeArrayAccessData(postData.parray, &data);
      std::memcpy(data, post->data(), post->size());
      SafeArrayUnaccessData(postData.parray);
    }
    VARIANT headerText;
    VariantInit(&headerText);
    headerText.vt = VT_BSTR;
    headerText.bstrVal = SysAllocString(Wide(headers).c_str());
    VARIANT empty;
    VariantInit(&empty);
    const HRESULT result = browser->Navigate2(&target, &empty, &empty, &postData, &headerText);
    VariantClear(&target);
    VariantClear(&postData);
    VariantClear(&headerText);
    return result;
  }

  // Handles messages until the predicate holds; false when it did not within a generous bound.
  // The predicate is asked again after each message, so it must turn on what messages do.
  bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds bound = std::chrono::seconds(30))
  {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    for (;;) {
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
      if (done())
        return true;
      const auto left = deadline - std::chrono::steady_clock::now();
      if (left <= std::chrono::milliseconds(0))
        return false;
      MsgWaitForMultipleObjects(0, nullptr, FALSE,
                                static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(left).count()),
                                QS_ALLINPUT);
    }
  }
  // Waits for the count-th DocumentComplete since the events were last cleared.
  bool WaitForDocument(size_t count = 1)
  {
    return WaitUntil([&] { return Count(DISPID_DOCUMENTCOMPLETE) >= count; }) && kvtest::RunUntilIdle();
  }
  // Navigates and waits for the page.
  void Load(const std::string& url)
  {
    events.clear();
    ASSERT_EQ(S_OK, Navigate(url));
    ASSERT_TRUE(WaitForDocument()) << url;
  }

  size_t Count(DISPID id) const
  {
    size_t count = 0;
    for (const BrowserEvent& e : events)
      count += e.id == id;
    return count;
  }
  // The events as "name url" lines.
  std::vector<std::string> Names() const
  {
    std::vector<std::string> names;
    for (const BrowserEvent& e : events) {
      const char* name = e.id == DISPID_BEFORENAVIGATE2    ? "BeforeNavigate2"
                         : e.id == DISPID_NAVIGATECOMPLETE2 ? "NavigateComplete2"
                         : e.id == DISPID_DOCUMENTCOMPLETE  ? "DocumentComplete"
                                                            : "NavigateError";
      names.push_back(std::string(name) + " " + e.url);
    }
    return names;
  }

  // The page's script object and a call of one of its functions, as the HTML page dialog makes it.
  CComPtr<IDispatchEx> Script()
  {
    CComPtr<IDispatch> document;
    CComPtr<IHTMLDocument2> html;
    CComPtr<IDispatch> script;
    CComPtr<IDispatchEx> scriptEx;
    if (browser->get_Document(&document) == S_OK && document &&
        SUCCEEDED(document->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&html))) &&
        SUCCEEDED(html->get_Script(&script)))
      script->QueryInterface(IID_IDispatchEx, reinterpret_cast<void**>(&scriptEx));
    return scriptEx;
  }
  struct Call {
    HRESULT result;
    std::string text;
  };
  Call CallFunction(const std::string& name)
  {
    CComPtr<IDispatchEx> script = Script();
    if (!script)
      return {E_FAIL, {}};
    BSTR bstr = SysAllocString(Wide(name).c_str());
    DISPID id = DISPID_UNKNOWN;
    HRESULT result = script->GetDispID(bstr, fdexNameCaseSensitive, &id);
    SysFreeString(bstr);
    if (FAILED(result))
      return {result, {}};
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_DISPATCH;
    self.pdispVal = script;
    DISPID named = DISPID_THIS;
    DISPPARAMS params{&self, &named, 1, 1};
    VARIANT answer;
    VariantInit(&answer);
    EXCEPINFO exception{};
    result = script->InvokeEx(id, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &answer, &exception, nullptr);
    std::string text;
    if (answer.vt == VT_BSTR)
      text = Utf8(std::u16string(answer.bstrVal, SysStringLen(answer.bstrVal)));
    else if (result == DISP_E_EXCEPTION && exception.bstrDescription)
      text = Utf8(exception.bstrDescription);
    VariantClear(&answer);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    return {result, text};
  }
  std::string Title()
  {
    CComPtr<IDispatch> document;
    CComPtr<IHTMLDocument2> html;
    BSTR title = nullptr;
    if (browser->get_Document(&document) != S_OK ||
        FAILED(document->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&html))) ||
        FAILED(html->get_title(&title)))
      return "<no document>";
    std::string text = Utf8(std::u16string(title, SysStringLen(title)));
    SysFreeString(title);
    return text;
  }

  // The control's window and the page view inside it.
  HWND Control() const { return GetWindow(host, GW_CHILD); }
  HWND View() const { return GetWindow(Control(), GW_CHILD); }
  // The view's child windows of a class, in z-order.
  std::vector<HWND> Fields(const std::u16string& className) const
  {
    std::vector<HWND> found;
    for (HWND child = GetWindow(View(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      WCHAR name[64] = {};
      GetClassNameW(child, name, 64);
      if (className == name)
        found.push_back(child);
    }
    return found;
  }

  device::testing::ScopedDeviceRoot root;
  testgateway::TestGateway gateway;
  kvtest::MessageLog log;
  HWND dialog = nullptr;
  HWND host = nullptr;
  CComPtr<IWebBrowser2> browser;
  CDispEventSink sink{DIID_DWebBrowserEvents2};
  std::vector<BrowserEvent> events;
  // Set by a test: what a sink answers to BeforeNavigate2 for a URL (true cancels).
  std::function<bool(const std::string&)> cancel;

 private:
  static std::string TextArgument(DISPPARAMS& params, UINT position)
  {
    VARIANT* value = EventArgument(params, position);
    return value && value->vt == VT_BSTR ? Utf8(std::u16string(value->bstrVal, SysStringLen(value->bstrVal))) : "";
  }

  void Record(DISPID id)
  {
    sink.On(id, [this, id](DISPPARAMS& params) {
      BrowserEvent event{id, TextArgument(params, 1), {}, {}, 0, {}};
      if (id == DISPID_BEFORENAVIGATE2) {
        VARIANT* post = EventArgument(params, 4);
        if (post && post->vt == (VT_ARRAY | VT_UI1)) {
          void* data = nullptr;
          SafeArrayAccessData(post->parray, &data);
          event.postData.assign(static_cast<const char*>(data), post->parray->rgsabound[0].cElements);
          SafeArrayUnaccessData(post->parray);
        }
        event.headers = TextArgument(params, 5);
        if (cancel && cancel(event.url))
          *EventArgument(params, 6)->pboolVal = VARIANT_TRUE;
      } else if (id == DISPID_NAVIGATEERROR) {
        VARIANT* status = EventArgument(params, 3);
        event.status = status && status->vt == VT_I4 ? status->lVal : 0;
      } else if (id == DISPID_DOCUMENTCOMPLETE) {
        event.title = Title();
      }
      events.push_back(event);
    });
  }
};
