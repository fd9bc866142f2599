// The reply statuses every screen treats alike: activation and phone binding needed, the end of a
// session, an update offered or required, account information needed, and the memo of a refusal.
#include "app_services.h"

#include "JSonHelper.h"
#include "app_session_end.h"
#include "log_writer.h"
#include "message_box_types.h"

namespace {

bool ReadNumber(const CResponseMap& reply, const WCHAR* key, int& number)
{
  JsonParserValue value;
  if (!reply.GetValue(key, value) || value.type != kJsonInteger)
    return false;
  number = value.integer;
  return true;
}

}  // namespace

int CKorvexPortalApp::OnSessionResult(CResponseMap& reply)
{
  if (reply.IsEmpty()) {
    WRITE_LOG_ENTRY(u"empty reply");
    return 0;
  }
  int status = 0;
  if (!ReadNumber(reply, u"resultStatus", status)) {
    WRITE_LOG_ENTRY(u"no resultStatus");
    return 0;
  }
  CStringW memo;
  GetResponseText(reply, u"memo", memo);
  int unread = 0;
  if (ReadNumber(reply, u"msgCount", unread))
    SetUnreadCount(unread);
  CStringW downloadUrl;
  GetResponseText(reply, u"downloadURL", downloadUrl);

  HWND box = nullptr;
  switch (status) {
    case 100:
      break;
    case 111:
      ShowMessageBox(GetActiveWindow(), u"您需在本手机客户端上开通支付功能，请按短信提示回复开通。", CStringW(), KV_BOX_INFO,
                     FALSE, SW_SHOW);
      if (GetMainDialog()) {
        SubmitActivation(nullptr);
      } else {
        WRITE_LOG_ENTRY(u"no top window");
        box = GetMessageBoxWindow();
      }
      break;
    case 112:
      ShowMessageBox(GetActiveWindow(), u"您需要先绑定手机才能使用本服务。", CStringW(), KV_BOX_INFO, FALSE, SW_HIDE);
      if (GetMainDialog())
        ShowBindPhoneDlg(0);
      else
        WRITE_LOG_ENTRY(u"no top window");
      box = GetMessageBoxWindow();
      break;
    case 200:
      EndSession(*this, memo);
      break;
    case 202:
      if (m_bUpdateDeclined)
        break;
      if (ShowMessageBox(GetActiveWindow(), memo, CStringW(), KV_BOX_QUESTION, FALSE, SW_HIDE) == KV_BOX_ANSWER_OK)
        DownloadUpdate(downloadUrl);
      else
        m_bUpdateDeclined = true;
      break;
    case 203:
      ShowMessageBox(GetActiveWindow(), memo, CStringW(), KV_BOX_INFO, FALSE, SW_HIDE);
      DownloadUpdate(downloadUrl);
      break;
    case 401:
    case 411: {
      CStringW userName;
      CStringW logonId;
      bool named = status == 411 || GetResponseText(reply, u"userName", userName);
      if (named && GetResponseText(reply, u"logonId", logonId)) {
        if (status == 401)
          SetUserName(userName);
        SetLogonId(logonId);
        SetConfig(u"LastUserId", logonId);
      } else {
        WRITE_LOG_ENTRY(u"no account in the reply");
      }
      // The notice stays behind as the backdrop of the screen that follows.
      ShowMessageBox(GetActiveWindow(), memo, CStringW(), KV_BOX_INFO, FALSE, SW_SHOW);
      if (!GetMainDialog())
        WRITE_LOG_ENTRY(u"no top window");
      else if (status == 401)
        ShowPersonalInfoDlg(0, 0);
      else
        ShowQtoTDlg(0);
      box = GetMessageBoxWindow();
      break;
    }
    default:
      if (status >= 301 && status <= 400 && !memo.IsEmpty())
        WRITE_LOG_ENTRY(u"field error %d", status);  // the screen places it next to its field
      else if (!memo.IsEmpty())
        ShowMessageBox(GetActiveWindow(), memo, CStringW(), KV_BOX_ERROR, FALSE, SW_HIDE);
      else
        WRITE_LOG_ENTRY(u"status %d without memo", status);
      break;
  }
  if (box)
    ::ShowWindow(box, SW_HIDE);
  return status;
}
