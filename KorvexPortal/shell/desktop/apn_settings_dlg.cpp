#include "apn_settings_dlg.h"

#include <algorithm>

#include "apn_store.h"
#include "log_writer.h"
#include "resource_values.h"

namespace {

constexpr int kScrollBarId = 1177;
constexpr int kFailedText = 1178;
constexpr int kFailedHint = 1179;
constexpr UINT kScrollBarBitmap = 229;
// Lengths at 96 dots per inch.
constexpr int kButtonIndent = 26;
constexpr int kButtonHeight = 18;
constexpr int kLineStep = 12;
constexpr int kBarWidth = 12;
constexpr int kTopGap = 4;

int ScaleBy(int value, int dpi)
{
  return (value * dpi + 48) / 96;
}

int DpiX()
{
  HDC dc = GetDC(nullptr);
  int dpi = GetDeviceCaps(dc, LOGPIXELSX);
  ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : 96;
}

int DpiY()
{
  HDC dc = GetDC(nullptr);
  int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : 96;
}

}  // namespace

CApnSettingsDlg::~CApnSettingsDlg()
{
  if (m_hWnd && ::IsWindow(m_hWnd))
    ::DestroyWindow(m_hWnd);
  if (m_barBitmap)
    DeleteObject(m_barBitmap);
}

RECT CApnSettingsDlg::VisibleArea() const
{
  // Between the title strip and the soft-key bar.
  int top = LoadIntResource();
  int bottom = GetSystemMetrics(SM_CYSCREEN) - CBaseDlg::LoadIntFromResource();
  return RECT{0, top, GetSystemMetrics(SM_CXSCREEN), std::max(top, bottom)};
}

LRESULT CApnSettingsDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  SetTitle(u"接入点设置", FALSE);
  SetSoftKeyTexts(u"保存", u"关闭", FALSE);
  m_scroll = 0;
  bHandled = FALSE;
  return 0;
}

void CApnSettingsDlg::InitFocus()
{
  if (!m_panel.m_hWnd && !m_panel.Create(m_hWnd)) {
    WRITE_LOG_ENTRY(u"ApnSettingsDlg: no panel");
    return;
  }
  m_panel.ShowWindow(SW_SHOW);
  if (HWND bar = GetDlgItem(kScrollBarId)) {
    if (!m_bar.m_hWnd && m_bar.SubclassWindow(bar)) {
      if (!m_barBitmap)
        m_barBitmap = LoadResourceBitmap(kScrollBarBitmap);
      m_bar.SetBitmap(m_barBitmap);
    }
  }
  RECT client{};
  GetClientRect(&client);
  BOOL handled = TRUE;
  OnSize(WM_SIZE, 0, MAKELPARAM(client.right, client.bottom), handled);
  SendMessage(WM_KV_APN_FILL);
  ShowExtraItems(m_showExtra);
}

LRESULT CApnSettingsDlg::OnFill(UINT, WPARAM, LPARAM, BOOL&)
{
  HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  Fill();
  SetCursor(previous);
  return 0;
}

void CApnSettingsDlg::Fill()
{
  for (HWND button : m_buttons)
    ::DestroyWindow(button);
  m_buttons.clear();
  m_list = CreateApnList();
  ApnEntry stored{};
  BOOL hasStored = ReadApnSettings(stored);

  AddButton(u"默认设置");
  for (int i = 0; i < m_list->GetCount(); ++i)
    AddButton(m_list->GetAt(i).description);

  size_t checked = 0;
  if (hasStored) {
    for (size_t k = 1; k < m_buttons.size(); ++k) {
      if (CStringW(m_list->GetAt(static_cast<int>(k - 1)).description) == CStringW(stored.description)) {
        checked = k;
        break;
      }
    }
  }
  ::SendMessageW(m_buttons[checked], BM_SETCHECK, BST_CHECKED, 0);
  m_scroll = 0;
  LayOut();
}

void CApnSettingsDlg::AddButton(const CStringW& name)
{
  int id = kFirstButton + static_cast<int>(m_buttons.size());
  HWND button = CreateWindowExW(0, u"BUTTON", name, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_RADIOBUTTON, 0, 0, 0, 0,
                                m_panel.m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  if (!button)
    return;
  if (HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)))
    ::SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  m_buttons.push_back(button);
}

void CApnSettingsDlg::ShowExtraItems(BOOL show)
{
  m_showExtra = show;
  if (!m_panel.m_hWnd)
    return;
  for (int id : {kFailedText, kFailedHint}) {
    if (HWND item = m_panel.GetDlgItem(id))
      ::ShowWindow(item, show ? SW_SHOW : SW_HIDE);
  }
  LayOut();
}

void CApnSettingsDlg::LayOut()
{
  if (!m_panel.m_hWnd)
    return;
  int dpiX = DpiX();
  int dpiY = DpiY();
  RECT panel{};
  m_panel.GetClientRect(&panel);
  // The buttons start under the lines about the failed connection while these show.
  int gap = ScaleBy(kTopGap, dpiY);
  int top = gap;
  if (m_showExtra) {
    for (int id : {kFailedText, kFailedHint}) {
      HWND line = m_panel.GetDlgItem(id);
      if (!line)
        continue;
      RECT rect{};
      ::GetWindowRect(line, &rect);
      ::SetWindowPos(line, nullptr, ScaleBy(kTopGap, dpiX), top - m_scroll, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      top += rect.bottom - rect.top + gap;
    }
  }
  int indent = ScaleBy(kButtonIndent, dpiX);
  int height = ScaleBy(kButtonHeight, dpiY);
  int y = top;
  for (HWND button : m_buttons) {
    ::SetWindowPos(button, nullptr, indent, y - m_scroll, std::max(0, static_cast<int>(panel.right) - indent), height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    y += height;
  }
  m_contentHeight = y;
  UpdateScrollBar();
  ::InvalidateRect(m_panel.m_hWnd, nullptr, TRUE);
}

void CApnSettingsDlg::UpdateScrollBar()
{
  if (!m_bar.m_hWnd || !m_panel.m_hWnd)
    return;
  RECT panel{};
  m_panel.GetClientRect(&panel);
  int visible = panel.bottom;
  if (m_contentHeight > visible) {
    int range = m_contentHeight - visible;
    m_scroll = std::min(m_scroll, range);
    SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, 0, m_contentHeight - 1,
                    static_cast<UINT>(visible), m_scroll, 0};
    m_bar.SendMessage(SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&info));
    m_bar.ShowWindow(SW_SHOW);
  } else {
    m_bar.ShowWindow(SW_HIDE);
  }
}

LRESULT CApnSettingsDlg::OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;
  if (!m_panel.m_hWnd)
    return 0;
  RECT area = VisibleArea();
  int barWidth = ScaleBy(kBarWidth, DpiX());
  int barLeft = area.right - barWidth;
  if (m_bar.m_hWnd)
    m_bar.SetWindowPos(nullptr, barLeft, area.top, barWidth, area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE);
  m_panel.SetWindowPos(nullptr, 0, area.top, barLeft, area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE);
  LayOut();
  return 0;
}

LRESULT CApnSettingsDlg::OnVScroll(UINT, WPARAM wParam, LPARAM, BOOL&)
{
  if (!m_panel.m_hWnd)
    return 0;
  RECT panel{};
  m_panel.GetClientRect(&panel);
  int range = std::max(0, m_contentHeight - static_cast<int>(panel.bottom));
  int step = ScaleBy(kLineStep, DpiY());
  int position = m_scroll;
  switch (LOWORD(wParam)) {
    case SB_LINEUP:
      position = std::max(0, m_scroll - step);
      break;
    case SB_LINEDOWN:
      position = std::min(range, m_scroll + step);
      break;
    case SB_THUMBTRACK:
      position = std::clamp(static_cast<int>(static_cast<SHORT>(HIWORD(wParam))), 0, range);
      break;
    default:
      return 0;
  }
  if (position == m_scroll)
    return 0;
  m_scroll = position;
  LayOut();
  return 0;
}

int CApnSettingsDlg::CheckedButton() const
{
  for (size_t k = 0; k < m_buttons.size(); ++k) {
    if (::SendMessageW(m_buttons[k], BM_GETCHECK, 0, 0) == BST_CHECKED)
      return static_cast<int>(k);
  }
  return -1;
}

LRESULT CApnSettingsDlg::OnButtonCommand(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
  int id = LOWORD(wParam);
  int count = static_cast<int>(m_buttons.size());
  if (id < kFirstButton || id >= kFirstButton + count) {
    bHandled = FALSE;
    return 0;
  }
  int k = id - kFirstButton;
  int checked = CheckedButton();
  if (checked != k) {
    if (checked >= 0)
      ::SendMessageW(m_buttons[checked], BM_SETCHECK, BST_UNCHECKED, 0);
    ::SendMessageW(m_buttons[k], BM_SETCHECK, BST_CHECKED, 0);
  }
  return 0;
}

LRESULT CApnSettingsDlg::OnSave(WORD, WORD, HWND, BOOL&)
{
  int checked = CheckedButton();
  if (checked >= 0 && m_list) {
    LONG result = m_list->SaveEntry(checked - 1);
    if (result != ERROR_SUCCESS)
      WRITE_LOG_ENTRY(u"ApnSettingsDlg: the choice was not stored");
  }
  SetResetConnectionFlag();
  CloseDialog(1, TRUE);
  return 0;
}

LRESULT CApnSettingsDlg::OnClose(WORD, WORD, HWND, BOOL&)
{
  CloseDialog(2, TRUE);
  return 0;
}

LRESULT CApnSettingsDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;
  if (m_panel.m_hWnd)
    m_panel.DestroyWindow();
  m_panel.m_hWnd = nullptr;
  m_buttons.clear();
  if (m_list)
    m_list->Clear();
  m_list.reset();
  if (m_bar.m_hWnd)
    m_bar.UnsubclassWindow(TRUE);
  m_scroll = 0;
  m_contentHeight = 0;
  return 0;
}
