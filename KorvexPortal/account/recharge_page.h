// What every page of the recharge dialog shares: a child dialog of the host with the form's grey
// background, transparent labels, the separator line on item 1148, skinned edits with the input
// method off and, where the page has one, a password edit under the secure-input guard.
#pragma once

#include <array>

#include "atl/atl.h"
#include "owner_draw_ctrl_c.h"
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
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
  END_MSG_MAP()

 protected:
  // The common start of the page's initialisation: the brush and the separator line.
  void InitPage()
  {
    if (!m_hBrush)
      m_hBrush = ::CreateSolidBrush(kPageColour);
    if (HWND separator = this->GetDlgItem(kSeparatorId); separator && !m_separator.m_hWnd)
      m_separator.SubclassWindow(separator);
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
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
  {
    if (m_guarded && this->GetDlgItem(m_guarded))
      FreeMe(this->GetDlgItem(m_guarded));
    for (CSkinEdit& edit : m_edits)
      if (edit.m_hWnd)
        edit.DestroyBorders();
    if (m_separator.m_hWnd)
      m_separator.UnsubclassWindow();
    bHandled = FALSE;
    return 0;
  }

  COwnerDrawCtrlC m_separator;
  std::array<CSkinEdit, 2> m_edits;
  int m_guarded = 0;
};
