// A dialog that shows a text above a moving progress strip while something takes time. A thread
// of its own posts it a timer message every 48 ms, and each one steps the strip; closing the
// dialog stops that thread and waits for it. The layout follows the screen's scale.
#pragma once

#include <memory>

#include "atl/atl.h"
#include "skin_progress_bar.h"
#include "windows.h"

class CWaitAnimationDlg : public CDialogImpl<CWaitAnimationDlg> {
 public:
  enum { IDD = 206 };
  static constexpr int kTextId = 1013;
  static constexpr int kStripId = 1000;
  static constexpr DWORD kStepMs = 48;

  CWaitAnimationDlg() = default;
  ~CWaitAnimationDlg() override;
  CWaitAnimationDlg(const CWaitAnimationDlg&) = delete;
  CWaitAnimationDlg& operator=(const CWaitAnimationDlg&) = delete;

  BEGIN_MSG_MAP(CWaitAnimationDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColorStatic)
    MESSAGE_HANDLER(WM_CTLCOLORDLG, OnCtlColorDlg)
    MESSAGE_HANDLER(WM_CLOSE, OnClose)
    COMMAND_ID_HANDLER(IDOK, OnEnd)
    COMMAND_ID_HANDLER(IDCANCEL, OnEnd)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCtlColorStatic(UINT, WPARAM wParam, LPARAM, BOOL&);
  // The dialog in the text's colour, so the text's box does not show.
  LRESULT OnCtlColorDlg(UINT, WPARAM, LPARAM, BOOL&) { return reinterpret_cast<LRESULT>(m_hBrush); }
  LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnEnd(WORD, WORD, HWND, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);

  // Places the strip (made the first time) and the text for the dialog's size.
  void Layout();
  // Stops the animation thread and waits for it; frees the strip and the brush.
  void Stop();
  static DWORD WINAPI AnimationThread(LPVOID parameter);

  std::unique_ptr<CSkinProgressBar> m_pStrip;
  HWND m_hText = nullptr;
  HBRUSH m_hBrush = nullptr;
  HANDLE m_hStop = nullptr;
  HANDLE m_hThread = nullptr;
};
