// The personal settings' save: the greeting checked, "personalSetup" sent through the
// application's send-and-wait, and its reply handled.
#include "JSonHelper.h"
#include "app_services.h"
#include "facade_request.h"
#include "gateway_address.h"
#include "http_client.h"
#include "http_result.h"
#include "json/streaming_writer.h"
#include "log_writer.h"
#include "message_box_types.h"
#include "personal_ids.h"
#include "personal_info_dlg.h"
#include "resource_values.h"

namespace {

constexpr int kGreetingMaxChars = 10;
constexpr int kStatusSuccess = 100;
constexpr int kStatusSessionEnded = 200;
constexpr int kFirstFieldError = 301;
constexpr int kLastFieldError = 400;

bool IsBlank(WCHAR ch)
{
  return ch == u' ' || ch == u'\t' || ch == u'\r' || ch == u'\n' || ch == u'\v' || ch == u'\f' || ch == 0x3000;
}

CStringW Trimmed(const CStringW& text)
{
  int begin = 0;
  int end = text.GetLength();
  while (begin < end && IsBlank(text[begin]))
    ++begin;
  while (end > begin && IsBlank(text[end - 1]))
    --end;
  return text.Mid(begin, end - begin);
}

}  // namespace

CStringW CPersonalInfoDlg::CheckGreeting(const CStringW& greeting)
{
  if (greeting.IsEmpty())
    return u"安全签名不能为空！";
  CStringW trimmed = Trimmed(greeting);
  if (trimmed.IsEmpty())
    return u"安全签名不能都为空格！";
  if (trimmed.GetLength() > kGreetingMaxChars) {
    CStringW message;
    message.Format(u"安全签名超出%d个字符，请重输！", kGreetingMaxChars);
    return message;
  }
  return CStringW();
}

CStringW CPersonalInfoDlg::BuildRequest(const CStringW& greeting)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  CStringW clientId;
  CStringW deviceText;
  CStringW product;
  CStringW version;
  if (app) {
    // The identity read first: the client id is made from it.
    DeviceIdentity identity{};
    app->GetDeviceInfo(identity, &deviceText);
    app->JoinPair(clientId);
    app->ProductIdToText(product);
    app->GetVersionText(version);
  }
  CJsonWriter writer;
  writer.BeginObject(u"operationType", u"personalSetup", false);
  writer.AddMember(u"clientID", clientId, true);
  // The greeting as typed, spaces and all, escaped like every typed text.
  writer.AddMember(u"greeting", greeting, true);
  writer.AddMember(u"userAgent", deviceText, true);
  writer.AddIntAsString(u"screenWidth", ::GetSystemMetrics(SM_CXSCREEN));
  writer.AddIntAsString(u"screenHigh", ::GetSystemMetrics(SM_CYSCREEN));
  writer.AddMember(u"productID", product, true);
  writer.AddMember(u"productVersion", version, true);
  writer.EndObject();
  return writer.GetText();
}

LRESULT CPersonalInfoDlg::OnSave(WORD, WORD, HWND, BOOL&)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (!app)
    return 0;
  CStringW greeting = GreetingText();
  CStringW refusal = CheckGreeting(greeting);
  if (!refusal.IsEmpty()) {
    ShowApplicationBox(::GetActiveWindow(), refusal, KV_BOX_INFO | KV_BOX_SELF_CLOSING);
    return 0;
  }
  CStringW wait = LoadResourceString(IDS_PERSONAL_WAIT);
  app->SendRequestAndWait(m_hWnd, WM_KV_PERSONALSETUP_REPLY, GetGatewayUrl(kGatewayRequestPath),
                          BuildRequest(greeting), wait, KV_BOX_WAIT, -1);
  return 0;
}

LRESULT CPersonalInfoDlg::OnPersonalSetupReply(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
  auto result = static_cast<HttpResult>(wParam);
  CStringW reply;
  if (auto* slot = reinterpret_cast<HttpReplySlot*>(lParam)) {
    reply = slot->text;
    InterlockedExchange(&slot->busy, 0);
  }
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (!app)
    return 0;
  int status = 0;
  CStringW memo;
  if (result != kHttpOk) {
    WRITE_LOG_ENTRY(u"personalSetup %d", static_cast<int>(result));
    GetNetErrorText(result, memo);
  } else {
    CResponseMap map;
    if (!map.Parse(reply))
      WRITE_LOG_ENTRY(u"personalSetup reply not parsable");
    status = app->OnSessionResult(map);
    GetResponseText(map, u"memo", memo);
  }
  if (HWND box = app->GetMessageBoxWindow())
    ::ShowWindow(box, SW_HIDE);

  if (status == kStatusSuccess) {
    app->SetGreeting(GreetingText());
    if (app->GetMainDialog())
      app->ShowDesktopDlg(0);
    else
      WRITE_LOG_ENTRY(u"PersonalInfoDlg: no main window for the desktop");
    ShowWindow(SW_HIDE);
  } else if (status == kStatusSessionEnded) {
    CloseDialog(2, FALSE);
  } else if (status == 0) {
    // Nothing usable came back: said, not left silent; the greeting stays for another try.
    ShowApplicationBox(m_hWnd, FailureText(memo), KV_BOX_ERROR);
  } else if (status >= kFirstFieldError && status <= kLastFieldError && !memo.IsEmpty()) {
    // The common handling only logs field errors; this form shows them.
    ShowApplicationBox(m_hWnd, FieldErrorText(memo), KV_BOX_ERROR);
  } else {
    WRITE_LOG_ENTRY(u"personalSetup %d", status);
  }
  return 0;
}
