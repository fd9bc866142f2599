// What the wizard's pages share: a child dialog of the host on a light grey ground with
// transparent static texts, a scroll form kept laid out on resizing, scrolling and the input
// panel's changes, keys that move between the page's own fields, and the host it reports to.
#pragma once

#include <memory>
#include <vector>

#include "atl/atl.h"
#include "page_message_filter.h"
#include "scroll_form.h"
#include "window_helpers.h"

class CMilocardHostDlg;

inline constexpr COLORREF kMilocardPageColour = 0xF5F5F5;

// The whole-number scale of the pages' rows against the 240x320 design. The phone's panel has one
// scale in both directions, whichever way it is turned; a landscape screen's height against 320
// would squeeze rows under text of the full scale (0 on a 320x240 screen, 1 on a 640x480 one), so
// the larger of the two whole factors is taken, never below 1.
inline int MilocardLayoutScale()
{
  int sx = static_cast<int>(GetScreenScaleX());
  int sy = static_cast<int>(GetScreenScaleY());
  int scale = sx > sy ? sx : sy;
  return scale < 1 ? 1 : scale;
}

template <class T>
class CMilocardPageT : public CDialogImpl<T> {
 public:
  CMilocardPageT() = default;
  ~CMilocardPageT() override
  {
    if (m_hPageBrush)
      ::DeleteObject(m_hPageBrush);
  }
  CMilocardPageT(const CMilocardPageT&) = delete;
  CMilocardPageT& operator=(const CMilocardPageT&) = delete;

  void SetHost(CMilocardHostDlg* host) { m_pHost = host; }

  BEGIN_MSG_MAP(CMilocardPageT)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColorStatic)
    // Radio buttons paint on the page's ground too.
    MESSAGE_HANDLER(WM_CTLCOLORBTN, OnCtlColorStatic)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_VSCROLL, OnVScroll)
    MESSAGE_HANDLER(WM_SETTINGCHANGE, OnLayoutChange)
    MESSAGE_HANDLER(WM_SHOWWINDOW, OnShowWindow)
    COMMAND_CODE_HANDLER(EN_SETFOCUS, OnEditFocus)
  END_MSG_MAP()

 protected:
  // The form, and the keys of the page that go with it: up and down move between its fields and
  // keep the one reached in view.
  void CreateScrollForm()
  {
    if (!m_pForm)
      m_pForm = std::make_unique<CScrollForm>(this);
    m_pForm->Relayout();
    m_filter.Register(this->m_hWnd, m_pForm.get());
  }
  void DeleteScrollForm()
  {
    m_filter.Unregister();
    m_pForm.reset();
  }
  void Relayout()
  {
    if (m_pForm)
      m_pForm->Relayout();
  }
  CScrollForm* Form() const { return m_pForm.get(); }
  HBRUSH PageBrush()
  {
    if (!m_hPageBrush)
      m_hPageBrush = ::CreateSolidBrush(kMilocardPageColour);
    return m_hPageBrush;
  }

  CMilocardHostDlg* m_pHost = nullptr;
  // Set by a page whose host leaves the focus alone when it shows it: the page takes the focus
  // itself (its first tab stop, or the page), so the keys never act on the page hidden before.
  bool m_bTakesFocusWhenShown = false;
  // The page's rules, which span its whole width.
  std::vector<int> m_ruleIds;

 private:
  LRESULT OnSize(UINT message, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
  {
    RECT client{};
    this->GetClientRect(&client);
    for (int id : m_ruleIds) {
      HWND rule = this->GetDlgItem(id);
      RECT rect{};
      if (!rule || !::GetWindowRect(rule, &rect))
        continue;
      ::MapWindowPoints(nullptr, this->m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
      ::MoveWindow(rule, 0, rect.top, client.right, rect.bottom - rect.top, TRUE);
    }
    return OnLayoutChange(message, wParam, lParam, bHandled);
  }
  LRESULT OnEraseBkgnd(UINT, WPARAM wParam, LPARAM, BOOL&)
  {
    RECT client{};
    this->GetClientRect(&client);
    ::FillRect(reinterpret_cast<HDC>(wParam), &client, PageBrush());
    return 1;
  }
  LRESULT OnCtlColorStatic(UINT, WPARAM wParam, LPARAM, BOOL&)
  {
    ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
    return reinterpret_cast<LRESULT>(PageBrush());
  }
  LRESULT OnLayoutChange(UINT, WPARAM, LPARAM, BOOL& bHandled)
  {
    bHandled = FALSE;
    Relayout();
    return 0;
  }
  LRESULT OnShowWindow(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
  {
    bHandled = FALSE;
    HWND focus = ::GetFocus();
    bool inside = focus && (focus == this->m_hWnd || ::IsChild(this->m_hWnd, focus));
    if (m_bTakesFocusWhenShown && wParam && lParam == 0 && !inside) {
      HWND first = ::GetNextDlgTabItem(this->m_hWnd, nullptr, FALSE);
      ::SetFocus(first ? first : this->m_hWnd);
    }
    return 0;
  }
  LRESULT OnVScroll(UINT, WPARAM wParam, LPARAM, BOOL&)
  {
    if (m_pForm)
      m_pForm->OnVScroll(wParam);
    return 0;
  }
  // An edit taking the focus (tapped while the input panel is up) is scrolled into view above it.
  LRESULT OnEditFocus(WORD, WORD, HWND edit, BOOL& bHandled)
  {
    if (m_pForm)
      m_pForm->ScrollIntoView(edit);
    bHandled = FALSE;
    return 0;
  }

  std::unique_ptr<CScrollForm> m_pForm;
  CPageMessageFilter m_filter;
  HBRUSH m_hPageBrush = nullptr;
};
