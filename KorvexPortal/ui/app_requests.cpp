// Requests through the HTTP client's queue behind the shared wait box, and the end of a session.
#include "app_services.h"

#include "app_session_end.h"
#include "log_writer.h"
#include "message_box_types.h"
#include "net_transport.h"
#include "shell/sip.h"
#include "thread_message_box.h"

int CKorvexPortalApp::SendRequestAndWait(HWND owner, UINT replyMessage, const CStringW& url, const CStringW& body,
                                         CStringW waitText, UINT boxType, int timeout)
{
  SipShowIM(SIPF_OFF);
  CThreadMessageBox& box = CThreadMessageBox::Instance();
  box.ArmWait();
  if (!box.StartRequest(owner, replyMessage, url, body, timeout, waitText, boxType)) {
    // Nothing was sent and no reply will come: the user is told instead of waiting for nothing.
    WRITE_LOG_ENTRY(u"request not queued");
    ShowMessageBox(GetActiveWindow(), kServerConnectionErrorText, CStringW(), KV_BOX_ERROR, FALSE, SW_HIDE);
    return 0;
  }
  int result = box.Wait();
  box.EndRequest();
  return result;
}

void EndSession(CKorvexPortalApp& app, const CStringW& memo)
{
  app.ShowMessageBox(GetActiveWindow(), memo, CStringW(), KV_BOX_INFO, FALSE, SW_HIDE);
  app.SetUserName(CStringW());
  app.SetGreeting(CStringW());
  app.ShowLoginDlg(0);
}

int HandleCommonStatus(int status, const CStringW& memo)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (status != 200 || !app)
    return 0;
  EndSession(*app, memo);
  return 1;
}
