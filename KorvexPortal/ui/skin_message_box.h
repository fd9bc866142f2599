// The client's message box: a full-screen dialog that shows a text in a skinned frame above the
// soft-key bar, over a dimmed picture of the window that was in front, with the soft keys of its
// type (message_box_types.h) and, for waits, a moving progress strip. Shown by itself it runs a
// modal loop that an answer ends with the answer's id and WM_CLOSE with -1; the shared box on a
// thread of its own (thread_message_box.h) is the one the screens use.
#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include "base_dlg.h"
#include "skin_progress_bar.h"
#include "text/cstring.h"

class CSkinMessageBox : public CBaseDlg {
 public:
  static constexpr int kTemplateId = 207;
  static constexpr UINT kVeilBitmap = 219;
  // The progress strip's control id and window text.
  static constexpr int kProgressId = 1008;
  // Timers: the progress strip's step, and the self-closing box's end.
  static constexpr UINT_PTR kProgressTimer = 1000;
  static constexpr UINT kProgressPeriodMs = 100;
  static constexpr UINT_PTR kSelfCloseTimer = 1001;
  static constexpr UINT kSelfCloseMs = 2000;

  CSkinMessageBox();
  // A box to show by itself with ShowDialog: its text, caption, type and whether it shows
  // progress. The window in front now is the one it dims.
  CSkinMessageBox(LPCWSTR text, LPCWSTR caption, UINT type, BOOL progress);
  ~CSkinMessageBox() override;

  // The box's window, for any thread (the box's thread owns m_hWnd); null when it has none.
  HWND BoxWindow() const
  {
    HWND window = m_hBoxWindow;
    return window && ::IsWindow(window) ? window : nullptr;
  }
  BOOL HasWindow() const { return BoxWindow() != nullptr; }

  // Sets the box up again, on the box's own thread (the caller waits for it): records the window
  // in front, takes the texts, type and progress, applies the frame, the soft keys and their
  // answers, and brings the box to the top, shown. Nothing happens when the box has no window.
  virtual void Setup(LPCWSTR text, LPCWSTR caption, UINT type, BOOL progress);

  int GetTemplateId(int) override { return kTemplateId; }
  int GetBackgroundBitmapId(int orientation) override { return orientation == -1 ? 0x419 : 0x418; }
  int GetLayoutStringId() override { return 132; }
  int GetSoftKey1Id() override { return kSoftKey1Id; }
  int GetSoftKey2Id() override { return kSoftKey2Id; }

  BEGIN_MSG_MAP(CSkinMessageBox)
    MESSAGE_HANDLER(WM_KV_BOX_RUN, OnRun)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_CLOSE, OnClose)
    COMMAND_RANGE_HANDLER(kFirstAnswer, kLastAnswer, OnAnswer)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    CHAIN_MSG_MAP(CBaseDlg)
  END_MSG_MAP()

 protected:
  static constexpr int kSoftKey1Id = 133;
  static constexpr int kSoftKey2Id = 134;
  // The answers are the commands 1001 to 1007.
  static constexpr int kFirstAnswer = 1001;
  static constexpr int kLastAnswer = 1007;
  // Runs the function (its lParam) on the box's thread.
  static constexpr UINT WM_KV_BOX_RUN = WM_APP + 0x1F0;

  struct BoxSetup {
    CStringW text;
    CStringW caption;
    UINT type = 0;
    BOOL progress = FALSE;
  };
  // Sets the box up; on the box's thread.
  void ApplySetup(const BoxSetup& setup);
  // Runs the work on the box's thread: at once on it, else through a message sent to the box.
  // FALSE when the box has no window (the work did not run).
  BOOL RunOnBoxThread(const std::function<void()>& work);
  bool ShowsProgress() const { return m_bProgress != FALSE; }

  // The window in front when the box was set up; the box itself means it was already showing.
  HWND m_hForeground = nullptr;

 private:
  LRESULT OnRun(UINT, WPARAM, LPARAM lParam, BOOL&);
  LRESULT OnInitDialog(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnAnswer(WORD, WORD id, HWND, BOOL&);
  LRESULT OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& bHandled);

  // The self-closing timer, the frame bitmaps of the type and the picture of the window in front.
  void ApplyFrame();
  void TakeSnapshot();
  // The soft keys' texts and answers for the type (each once per setup).
  void ApplyKeys();
  void PaintBox(HDC dc);
  // Creates, places and shows the progress strip, or hides it without progress.
  void PlaceProgress(int frameTop, int sx, int sy, int width);
  void FreeFrame();

  std::atomic<HWND> m_hBoxWindow{nullptr};
  std::unique_ptr<CSkinProgressBar> m_pProgress;
  CStringW m_strText;
  CStringW m_strCaption;
  UINT m_type = 0;
  BOOL m_bProgress = FALSE;
  bool m_bAnswersApplied = false;
  bool m_bTextsApplied = false;
  // The box was set up and has not been painted since: its first paint activates it.
  bool m_bActivatePending = false;
  HBITMAP m_hSnapshot = nullptr;
  HBITMAP m_hVeil = nullptr;
  HBITMAP m_hFramePortrait = nullptr;
  HBITMAP m_hFrameLandscape = nullptr;
  bool m_bHasIcon = false;
};
