// The fixture of the browser dialogs' tests: the payment screens' fixture (device, test gateway
// over HTTPS, facade, recording application, opener window) with the browser control's window
// classes registered and pages served by the gateway.
#pragma once

#include <string>

#include "html/web_browser.h"
#include "payment_screen_fixture.h"
#include "web_text.h"

namespace webtest {

using kvtest::RunUntil;
using paytest::Wide;
using testgateway::RecordedRequest;
using testgateway::Reply;

// A page of the gateway: a title and a body, in UTF-8.
inline Reply Page(const std::string& title, const std::string& body, const std::string& head = {})
{
  return Reply::http(200, "<html><head><title>" + title + "</title>" + head + "</head><body>" + body +
                              "</body></html>");
}

// The value of a decoded form field; empty when absent.
inline std::string FormField(const RecordedRequest& request, const std::string& name)
{
  for (const auto& [key, value] : request.form)
    if (key == name)
      return value;
  return std::string();
}

inline std::string Utf8(const CStringW& text)
{
  return kvtest::Narrow(std::u16string(text.GetString()));
}

// The address of the page the browser control in the host window shows; empty before one.
inline std::u16string ShownAddress(HWND host)
{
  CAxWindow window(host);
  IWebBrowser2* browser = nullptr;
  if (!host || FAILED(window.QueryControl(IID_IWebBrowser2, reinterpret_cast<void**>(&browser))) || !browser)
    return std::u16string();
  BSTR address = nullptr;
  browser->get_LocationURL(&address);
  browser->Release();
  std::u16string text = address ? std::u16string(address, SysStringLen(address)) : std::u16string();
  SysFreeString(address);
  return text;
}

class WebDialogTest : public paytest::PaymentScreenTest {
 protected:
  void SetUp() override
  {
    PaymentScreenTest::SetUp();
    AtlAxWinInit();
  }

  // The gateway's address of the path, as the dialogs build it.
  std::u16string GatewayPage(const std::string& path) { return Wide(gateway.httpsUrl() + path); }

  // The client id the dialogs send.
  std::string ClientId()
  {
    CStringW id;
    app.JoinPair(id);
    return Utf8(id);
  }
};

}  // namespace webtest
