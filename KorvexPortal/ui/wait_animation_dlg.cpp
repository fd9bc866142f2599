// The wait animation dialog.
#include "wait_animation_dlg.h"

#include "window_helpers.h"

namespace {

constexpr COLORREF kTextBackground = 0xF5F5F5;
constexpr int kTextChars = 260;
// The strip: its size and its lower edge above the bottom, in pixels of the 240 x 320 design.
constexpr float kStripWidth = 190.0f;
constexpr float kStripHeight = 20.0f;
constexpr float kStripMargin = 30.0f;
// The text stands halfway between the strip's top and this.
constexpr float kTextAnchor = 115.0f;
// Bound on the wait for the animation thread, which ends as soon as it is told.
constexpr DWORD kStopBoundMs = 10000;

}  // namespace

CWaitAnimationDlg::~CWaitAnimationDlg()
{
  Stop();
}

LRESULT CWaitAnimationDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
  m_pStrip.reset();
  m_hBrush = CreateSolidBrush(kTextBackground);
  m_hText = GetDlgItem(kTextId);
  Layout();
  m_hStop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  m_hThread = CreateThread(nullptr, 0, AnimationThread, this, 0, nullptr);
  return TRUE;
}

DWORD WINAPI CWaitAnimationDlg::AnimationThread(LPVOID parameter)
{
  // Both stay until the dialog has waited for this thread.
  auto* dialog = static_cast<CWaitAnimationDlg*>(parameter);
  HWND window = dialog->m_hWnd;
  HANDLE stop = dialog->m_hStop;
  // Posted, not sent: the dialog waits for this thread when it closes.
  while (WaitForSingleObject(stop, kStepMs) == WAIT_TIMEOUT)
    PostMessageW(window, WM_TIMER, 0, 0);
  return 0;
}

void CWaitAnimationDlg::Layout()
{
  RECT client{};
  GetClientRect(&client);
  const float sx = GetScreenScaleX();
  const float sy = GetScreenScaleY();
  const int width = static_cast<int>(kStripWidth * sx);
  const int height = static_cast<int>(kStripHeight * sy);
  const int left = (client.right - width) / 2;
  const int top = static_cast<int>(static_cast<float>(client.bottom) - kStripMargin * sy - static_cast<float>(height));
  if (!m_pStrip) {
    m_pStrip = std::make_unique<CSkinProgressBar>();
    m_pStrip->CreateStrip(m_hWnd, RECT{left, top, left + width, top + height}, kStripId, u"");
  } else if (m_pStrip->IsWindow()) {
    m_pStrip->SetWindowPos(nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
  if (!m_hText)
    return;
  WCHAR text[kTextChars + 1] = {};
  int length = ::GetWindowTextW(m_hText, text, kTextChars + 1);
  HDC dc = ::GetDC(m_hText);
  HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(m_hText, WM_GETFONT, 0, 0)));
  SIZE extent{};
  GetTextExtentPoint32W(dc, text, length, &extent);
  SelectObject(dc, previous);
  ::ReleaseDC(m_hText, dc);
  ::SetWindowPos(m_hText, nullptr, client.right / 2 - extent.cx / 2, (top + static_cast<int>(kTextAnchor * sy)) / 2,
                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

LRESULT CWaitAnimationDlg::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
  Layout();
  PAINTSTRUCT paint;
  ::BeginPaint(m_hWnd, &paint);
  ::EndPaint(m_hWnd, &paint);
  return 0;
}

LRESULT CWaitAnimationDlg::OnTimer(UINT, WPARAM, LPARAM, BOOL&)
{
  // A step posted just before the dialog closed finds no strip.
  if (m_pStrip && m_pStrip->IsWindow())
    m_pStrip->Step();
  return 0;
}

LRESULT CWaitAnimationDlg::OnCtlColorStatic(UINT, WPARAM wParam, LPARAM, BOOL&)
{
  SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
  return reinterpret_cast<LRESULT>(m_hBrush);
}

LRESULT CWaitAnimationDlg::OnClose(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  Stop();
  // On to the dialog's default, which ends it.
  bHandled = FALSE;
  return 0;
}

LRESULT CWaitAnimationDlg::OnEnd(WORD, WORD, HWND, BOOL&)
{
  EndDialog(1);
  return 0;
}

LRESULT CWaitAnimationDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  Stop();
  bHandled = FALSE;
  return 0;
}

void CWaitAnimationDlg::Stop()
{
  if (m_hThread) {
    SetEvent(m_hStop);
    MsgWaitForMultipleObjects(1, &m_hThread, FALSE, kStopBoundMs, 0);
    CloseHandle(m_hThread);
    m_hThread = nullptr;
  }
  if (m_hStop) {
    CloseHandle(m_hStop);
    m_hStop = nullptr;
  }
  if (m_pStrip && m_pStrip->IsWindow())
    m_pStrip->DestroyWindow();
  m_pStrip.reset();
  if (m_hBrush) {
    DeleteObject(m_hBrush);
    m_hBrush = nullptr;
  }
}
