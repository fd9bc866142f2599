// The start of registration: the "preRegister" request, and its reply, which opens the
// registration form with the gateway's key and a check-code picture.
#include "check_code_bitmap.h"
#include "http_client.h"
#include "JSonHelper.h"
#include "json/streaming_writer.h"
#include "log_writer.h"
#include "message_box_types.h"
#include "portal_shell_app.h"
#include "resource_values.h"
#include "shell_ids.h"

void CKorvexPortalShellApp::PreRegister(HWND, UINT replyMessage, const CStringW& url)
{
  EnsureRegisterDialog();
  DeviceIdentity identity{};
  GetDeviceInfo(identity);
  CStringW clientId;
  JoinPair(clientId);
  CJsonWriter writer;
  writer.BeginObject(u"operationType", u"preRegister", false);
  writer.AddMember(u"clientID", clientId, true);
  writer.EndObject();
  SendRequestAndWait(::GetActiveWindow(), replyMessage, url, writer.GetText(),
                     LoadResourceString(IDS_PREREGISTER_WAIT), KV_BOX_WAIT, -1);
}

void CKorvexPortalShellApp::OnPreRegisterResult(WPARAM result, LPARAM reply)
{
  CStringW text;
  if (auto* slot = reinterpret_cast<HttpReplySlot*>(reply)) {
    text = slot->text;
    InterlockedExchange(&slot->busy, 0);
  }
  HWND owner = ::GetActiveWindow();
  auto showError = [&](UINT textId) {
    ShowMessageBox(owner, LoadResourceString(textId), CStringW(), KV_BOX_ERROR, FALSE, SW_SHOW);
  };

  CResponseMap map;
  if (result != 0) {
    showError(IDS_PREREGISTER_NETWORK);
  } else if (!map.Parse(text)) {
    WRITE_LOG_ENTRY(u"preRegister: the reply is no JSON text");
    // A failure is never silent: the user tapped "注册" and learns that it did not start.
    showError(IDS_PREREGISTER_FAILED);
  } else if (OnSessionResult(map) != 100) {
    WRITE_LOG_ENTRY(u"preRegister: the reply's status is not success");
    showError(IDS_PREREGISTER_FAILED);
  } else {
    CStringW publicKey;
    CStringW timeStamp;
    CStringW checkCode;
    HBITMAP picture = nullptr;
    if (GetResponseText(map, u"rsaPK", publicKey) && GetResponseText(map, u"rsaTS", timeStamp) &&
        GetResponseText(map, u"checkCode", checkCode))
      picture = CheckCodeBitmapFromBase64(checkCode);
    CBaseDlg* form = EnsureRegisterDialog();
    if (!picture || !form) {
      WRITE_LOG_ENTRY(u"preRegister: the reply lacks the key, its time stamp or a check-code picture");
      if (picture)
        ::DeleteObject(picture);
      showError(IDS_PREREGISTER_FAILED);
    } else {
      SetRegisterKeyInfo(publicKey, timeStamp, picture);
      form->ShowDialog(::GetActiveWindow(), 0, FALSE, TRUE);
    }
  }
  if (HWND box = GetMessageBoxWindow())
    ::ShowWindow(box, SW_HIDE);
}
