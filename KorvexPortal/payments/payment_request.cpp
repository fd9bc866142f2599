#include "payment_request.h"

#include "app_services.h"
#include "log_writer.h"
#include "message_box_types.h"

namespace {

const WCHAR kNotActivatedText[] = u"您需在本手机客户端上开通支付功能，请按短信提示回复开通。";
// The brief error note: an error that closes by itself.
constexpr UINT kBriefErrorNote = KV_BOX_ERROR | KV_BOX_SELF_CLOSING;

}  // namespace

void ShowPaymentFailure(HWND owner, const CStringW& memo)
{
  ShowApplicationBox(owner, FailureText(memo), KV_BOX_ERROR);
}

CStringW ShowFieldErrorMemo(HWND owner, const CStringW& memo)
{
  int comma = memo.GetLength() > 1 ? memo.Find(u',', 1) : -1;
  if (comma < 0) {
    ShowApplicationBox(owner, FailureText(memo), kBriefErrorNote);
    return CStringW();
  }
  ShowApplicationBox(owner, memo.Mid(comma + 1), kBriefErrorNote);
  return memo.Left(comma);
}

void ShowInputError(HWND owner, const CStringW& text, HWND field)
{
  ShowApplicationBox(owner, text, kBriefErrorNote);
  if (field)
    ::SetFocus(field);
}

void RequestActivation(HWND owner, IServiceListener* listener, const WCHAR* logSource)
{
  ShowApplicationBox(owner, kNotActivatedText, KV_BOX_INFO);
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (app && app->GetMainDialog()) {
    app->SubmitActivation(listener);
  } else {
    WRITE_LOG_ENTRY(u"%s: no main dialog for the activation", logSource);
  }
}

CStringW GetItemText(HWND dialog, int id)
{
  HWND item = ::GetDlgItem(dialog, id);
  int length = item ? ::GetWindowTextLengthW(item) : 0;
  CStringW text;
  if (length > 0) {
    ::GetWindowTextW(item, text.GetBuffer(length), length + 1);
    text.ReleaseBuffer();
  }
  return text;
}
