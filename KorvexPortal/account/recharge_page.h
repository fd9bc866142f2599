// What every page of the recharge dialog shares: a child dialog of the host with the form's grey
// background, transparent labels, the separator line on item 1148, skinned edits with the input
// method off and, where the page has one, a password edit under the secure-input guard; skinned
// combo boxes; a scroll form for fields that reach below the page (in landscape, or above the
// input panel); and the keys of its fields taken by the page itself while it is shown, the soft
// keys left to the host; the focus changes of its edits told to the host, which shows the input
// panel for them.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "atl/atl.h"
#include "owner_draw_ctrl_c.h"
#include "scroll_form.h"
#include "selvane/selvane.h"
#include "skin_edit.h"
#include "text/cstring.h"
#include "window_helpers.h"

class CRechargeHostDlg;

template <class T>
class CRechargePage : public CDialogImpl<T> {
 public:
  static constexpr COLORREF kPageColour = 0xF5F5F5;
  static constexpr COLORREF kEditFocusColour = 0xFF0000;
  static constexpr int kSeparatorId = 1148;

  explicit CRechargePage(CRechargeHostDlg& host) : m_host(host) {}
  ~CRechargePage() override
  {
    if (m_hBrush)
      ::DeleteObject(m_hBrush);
  }
  CRechargePage(const CRechargePage&) = delete;
  CRechargePage& operator=(const CRechargePage&) = delete;

  bool IsShown() const { return this->m_hWnd && ::IsWindow(this->m_hWnd) && ::IsWindowVisible(this->m_hWnd); }
  // Called by the host when it hides the page.
  void OnHidden() {}

  BEGIN_MSG_MAP(CRechargePage)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColorStatic)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_VSCROLL, OnVScroll)
    MESSAGE_HANDLER(WM_SETTINGCHANGE, OnSettingChange)
    MESSAGE_HANDLER(WM_FORWARDMSG, OnForwardMsg)
    COMMAND_CODE_HANDLER(EN_SETFOCUS, OnEditFocus)
    COMMAND_CODE_HANDLER(EN_KILLFOCUS, OnEditFocus)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
  END_MSG_MAP()

 protected:
  // The common start of the page's initialisation: the brush, the separator line and the scroll
  // form.
  void InitPage()
  {
    if (!m_hBrush)
      m_hBrush = ::CreateSolidBrush(kPageColour);
    if (HWND separator = this->GetDlgItem(kSeparatorId); separator && !m_separator.m_hWnd)
      m_separator.SubclassWindow(separator);
    if (!m_pForm)
      m_pForm = std::make_unique<CScrollForm>(this);
  }
  // Lays the form out again after the fields changed (shown, hidden, filled).
  void Relayout()
  {
    if (m_pForm)
      m_pForm->Relayout();
  }
  // Puts the password edit under the secure-input guard (once).
  void GuardEdit(int id)
  {
    if (m_guarded || !this->GetDlgItem(id))
      return;
    m_guarded = id;
    HelpMe(this->GetDlgItem(id));
  }
  // Skins up to two edits (0 for none) and switches their input method off.
  void SkinEdits(int edit1, int edit2)
  {
    int ids[2] = {edit1, edit2};
    for (int i = 0; i < 2; ++i) {
      HWND edit = ids[i] ? this->GetDlgItem(ids[i]) : nullptr;
      if (!edit || m_edits[i].m_hWnd)
        continue;
      m_edits[i].SubclassEdit(edit, kEditFocusColour);
      DisableImeForWindow(edit);
    }
  }
  // Takes the item over with the control (a skinned combo box, a painted text; once); the page
  // gives it back when it goes.
  void TakeOverItem(int id, CWindowImplBaseT<CWindow, CControlWinTraits>& control)
  {
    HWND item = this->GetDlgItem(id);
    if (item && !control.m_hWnd && control.SubclassWindow(item))
      m_takenOver.push_back(&control);
  }
  CStringW ItemText(int id) const
  {
    CStringW text;
    HWND item = ::GetDlgItem(this->m_hWnd, id);
    int length = item ? ::GetWindowTextLengthW(item) : 0;
    if (length > 0) {
      ::GetWindowTextW(item, text.GetBuffer(length + 1), length + 1);
      text.ReleaseBuffer();
    }
    return text;
  }
  void SetItemText(int id, const CStringW& text) { ::SetDlgItemTextW(this->m_hWnd, id, text.GetString()); }
  void ShowItem(int id, bool show) { ::ShowWindow(::GetDlgItem(this->m_hWnd, id), show ? SW_SHOW : SW_HIDE); }

  CRechargeHostDlg& m_host;
  HBRUSH m_hBrush = nullptr;

 private:
  LRESULT OnEraseBkgnd(UINT, WPARAM wParam, LPARAM, BOOL&)
  {
    RECT client;
    this->GetClientRect(&client);
    ::FillRect(reinterpret_cast<HDC>(wParam), &client, m_hBrush);
    return 1;
  }
  LRESULT OnCtlColorStatic(UINT, WPARAM wParam, LPARAM, BOOL&)
  {
    ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
    return reinterpret_cast<LRESULT>(m_hBrush);
  }
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled)
  {
    Relayout();
    bHandled = FALSE;
    return 0;
  }
  LRESULT OnVScroll(UINT, WPARAM wParam, LPARAM, BOOL&)
  {
    if (m_pForm)
      m_pForm->OnVScroll(wParam);
    return 0;
  }
  // The input panel came or went: the visible part of the page changed.
  LRESULT OnSettingChange(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
  {
    if (wParam == SPI_SETSIPINFO && IsShown())
      Relayout();
    bHandled = FALSE;
    return 0;
  }
  // The host's filter hands the page the key and pointer messages of its fields: while the page
  // is shown, its own dialog keys move between them; the soft keys' release stays with the host.
  LRESULT OnForwardMsg(UINT, WPARAM, LPARAM lParam, BOOL&)
  {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (!msg || !IsShown())
      return FALSE;
    bool keyboard = msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST;
    bool pointer = msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST;
    if (!keyboard && !pointer)
      return FALSE;
    if (msg->message == WM_KEYUP && (msg->wParam == VK_F1 || msg->wParam == VK_F2))
      return FALSE;
    return ::IsDialogMessageW(this->m_hWnd, msg);
  }
  // An edit's focus change goes on to the host, which brings the input panel and its indicator;
  // an edit taking the focus is scrolled into view above the panel.
  LRESULT OnEditFocus(WORD code, WORD id, HWND edit, BOOL& bHandled)
  {
    if (code == EN_SETFOCUS && m_pForm)
      m_pForm->ScrollIntoView(edit);
    if (HWND host = this->GetParent())
      ::SendMessageW(host, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(edit));
    bHandled = FALSE;
    return 0;
  }
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
  {
    m_pForm.reset();
    if (m_guarded && this->GetDlgItem(m_guarded))
      FreeMe(this->GetDlgItem(m_guarded));
    for (CSkinEdit& edit : m_edits)
      if (edit.m_hWnd)
        edit.DestroyBorders();
    if (m_separator.m_hWnd)
      m_separator.UnsubclassWindow();
    for (CWindowImplBaseT<CWindow, CControlWinTraits>* control : m_takenOver)
      if (control->m_hWnd)
        control->UnsubclassWindow();
    m_takenOver.clear();
    bHandled = FALSE;
    return 0;
  }

  COwnerDrawCtrlC m_separator;
  std::unique_ptr<CScrollForm> m_pForm;
  std::array<CSkinEdit, 2> m_edits;
  std::vector<CWindowImplBaseT<CWindow, CControlWinTraits>*> m_takenOver;
  int m_guarded = 0;
};
