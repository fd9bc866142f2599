// The message box: setting it up, its answers, timers and lifetime.
#include "skin_message_box.h"

#include "message_box_types.h"
#include "resource_values.h"

CSkinMessageBox::CSkinMessageBox() = default;

CSkinMessageBox::CSkinMessageBox(LPCWSTR text, LPCWSTR caption, UINT type, BOOL progress)
    : m_hForeground(::GetForegroundWindow()),
      m_strText(text ? text : u""),
      m_strCaption(caption ? caption : u""),
      m_type(type),
      m_bProgress(progress)
{
}

CSkinMessageBox::~CSkinMessageBox()
{
  FreeFrame();
  if (m_hVeil)
    DeleteObject(m_hVeil);
}

void CSkinMessageBox::Setup(LPCWSTR text, LPCWSTR caption, UINT type, BOOL progress)
{
  BoxSetup setup{text ? text : u"", caption ? caption : u"", type, progress};
  RunOnBoxThread([&] { ApplySetup(setup); });
}

void CSkinMessageBox::ApplySetup(const BoxSetup& setup)
{
  m_hForeground = ::GetForegroundWindow();
  m_strText = setup.text;
  m_strCaption = setup.caption;
  m_type = setup.type;
  m_bProgress = setup.progress;
  m_bTextsApplied = false;
  m_bAnswersApplied = false;
  if (!HasWindow())
    return;
  // A box without the strip hides it now, before the repaint below: hidden later, while the box
  // paints, the strip's pixels would stay on screen inside the new frame.
  if (!m_bProgress && m_pProgress && m_pProgress->IsWindow())
    m_pProgress->ShowWindow(SW_HIDE);
  ApplyFrame();
  ApplyKeys();
  m_bActivatePending = true;
  SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
  ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

BOOL CSkinMessageBox::RunOnBoxThread(const std::function<void()>& work)
{
  HWND window = BoxWindow();
  return window && ::SendMessageW(window, WM_KV_BOX_RUN, 0, reinterpret_cast<LPARAM>(&work)) != 0;
}

LRESULT CSkinMessageBox::OnRun(UINT, WPARAM, LPARAM lParam, BOOL&)
{
  (*reinterpret_cast<const std::function<void()>*>(lParam))();
  return 1;
}

void CSkinMessageBox::ApplyKeys()
{
  BoxKeys keys = BoxKeysOfType(m_type);
  if (!m_bTextsApplied) {
    m_bTextsApplied = true;
    SetSoftKeyTexts(keys.left.text, keys.right.text, FALSE);
  }
  if (m_bAnswersApplied)
    return;
  m_bAnswersApplied = true;
  struct Key {
    CSkinSoftKey& control;
    const BoxKey& answer;
    int restingId;
  };
  for (const Key& key : {Key{m_softKey1, keys.left, kSoftKey1Id}, Key{m_softKey2, keys.right, kSoftKey2Id}}) {
    if (!key.control.IsWindow())
      continue;
    // A hidden key goes back to its resting id, so its hardware key gives no answer.
    ::SetWindowLongPtrW(key.control, GWLP_ID, key.answer.answer ? key.answer.answer : key.restingId);
    key.control.SetWindowText(key.answer.text);
    key.control.ShowWindow(key.answer.answer ? SW_SHOW : SW_HIDE);
  }
}

LRESULT CSkinMessageBox::OnInitDialog(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
  m_hBoxWindow = m_hWnd;
  if (!m_hVeil)
    m_hVeil = LoadResourceBitmap(kVeilBitmap);
  ApplyFrame();
  LRESULT result = FALSE;
  CBaseDlg::ProcessWindowMessage(m_hWnd, WM_INITDIALOG, wParam, lParam, result);
  // The box shows no title label: its frame says what it is.
  if (HasWindow() && m_titleLabel.IsWindow())
    m_titleLabel.DestroyWindow();
  return result;
}

LRESULT CSkinMessageBox::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  SipShowIM(SIPF_OFF);
  KillTimer(kProgressTimer);
  KillTimer(kSelfCloseTimer);
  if (m_pProgress && m_pProgress->IsWindow())
    m_pProgress->DestroyWindow();
  m_pProgress.reset();
  FreeFrame();
  bHandled = FALSE;
  return 0;
}

LRESULT CSkinMessageBox::OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  // The bars are placed (and shown) again: the keys take their answers again at the next paint.
  m_bAnswersApplied = false;
  bHandled = FALSE;
  return 0;
}

LRESULT CSkinMessageBox::OnClose(UINT, WPARAM, LPARAM, BOOL&)
{
  CloseDialog(0xFFFF, FALSE);
  EndModalLoop(KV_BOX_NO_ANSWER);
  return 0;
}

LRESULT CSkinMessageBox::OnAnswer(WORD, WORD id, HWND, BOOL&)
{
  CloseDialog(id, FALSE);
  EndModalLoop(id);
  return 0;
}

LRESULT CSkinMessageBox::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
  if (wParam == kProgressTimer) {
    if (IsWindowVisible() && m_pProgress && m_pProgress->IsWindow())
      m_pProgress->Step();
    else if (!IsWindowVisible())
      KillTimer(kProgressTimer);
  } else if (wParam == kSelfCloseTimer) {
    PostMessage(WM_CLOSE);
  } else {
    bHandled = FALSE;
  }
  return 0;
}
