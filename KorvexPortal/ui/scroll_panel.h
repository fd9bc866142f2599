// Skinned scroll bars for an existing control that has its own: the control moves into a
// clipping viewport inside a container window that takes its place (and its id) in the dialog.
// Two skinned bars lie over the control's own bars, which fall outside the viewport; the bars
// mirror the control's scroll state and hand their scroll codes back to it.
#pragma once

#include "atl/atl.h"
#include "skin_scroll_bar.h"
#include "windows.h"

class CScrollPanel {
 public:
  // Child ids inside the container.
  static constexpr int kHorizontalBarId = 100;
  static constexpr int kVerticalBarId = 101;
  static constexpr int kViewportId = 200;
  // The container's mirroring timer.
  static constexpr UINT_PTR kMirrorTimer = 100;
  // Posted to the container to lay out the viewport and the control again (wParam: the control
  // has a vertical bar; lParam: that bar is on the left).
  static constexpr UINT kRelayoutMessage = 0x464;

  CScrollPanel();
  ~CScrollPanel();
  CScrollPanel(const CScrollPanel&) = delete;
  CScrollPanel& operator=(const CScrollPanel&) = delete;

  // Puts the control into the panel. Always TRUE.
  BOOL Attach(HWND control);
  // Gives the control back to the dialog at the container's place (unless it is being
  // destroyed) and destroys the panel's inner windows. Only the first call does anything.
  void Detach(BOOL fromControlDestruction);

  HWND GetContainer() const { return container_.m_hWnd; }

 private:
  // The window that takes the control's place.
  class CContainer : public CWindowImpl<CContainer> {
   public:
    DECLARE_WND_CLASS(u"KvScrollPanel")
    explicit CContainer(CScrollPanel& panel) : panel_(panel) {}
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                              DWORD dwMsgMapID = 0) override;

   private:
    CScrollPanel& panel_;
  };
  // The clipping window the control lives in.
  class CViewport : public CWindowImpl<CViewport> {
   public:
    DECLARE_WND_CLASS(u"KvScrollViewport")
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                              DWORD dwMsgMapID = 0) override;
  };

  LRESULT ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void OnControlPosChanged(const WINDOWPOS* pos);
  void Relayout(BOOL hasVertical, BOOL onLeft);
  // Sets the control's scroll state into a skinned bar when it differs; on a background erase
  // the bar is also enabled or disabled by whether the control can scroll.
  void Mirror(int which, CSkinScrollBar& bar, bool enable);
  void OnMirrorTimer();
  void PaintCorner();
  void ForwardScroll(UINT message, WPARAM wParam);

  CContainer container_;
  HWND child_ = nullptr;
  int cellSize_ = 16;
  CSkinScrollBar hScrollBar_;
  CSkinScrollBar vScrollBar_;
  CViewport viewport_;
  BOOL updating_ = FALSE;
  int cornerMode_ = 0;
  WNDPROC childProc_ = nullptr;
  BOOL detached_ = FALSE;
  WNDPROC subclassProc_ = nullptr;  // the closure the control runs while attached
};
