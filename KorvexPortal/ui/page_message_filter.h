// The message filter of a page that lives inside a host dialog (a child dialog of its own): keys
// and pointer messages for the page go to the page's own dialog navigation; up and down move
// between its tab stops (one-line edits among them), scrolling the one reached into view; the
// release of a soft key is left to the host, which presses the key.
#pragma once

#include "atl/atl.h"
#include "atl/message_loop.h"

class CScrollForm;

class CPageMessageFilter : public CMessageFilter {
 public:
  CPageMessageFilter() = default;
  ~CPageMessageFilter() override { Unregister(); }
  CPageMessageFilter(const CPageMessageFilter&) = delete;
  CPageMessageFilter& operator=(const CPageMessageFilter&) = delete;

  // Joins the application's message loop for the page (once its window exists); the page's
  // scroll form, when it has one, keeps the control the keys moved to in view.
  void Register(HWND page, CScrollForm* form = nullptr);
  // Leaves the loop it joined, when that loop still runs.
  void Unregister();

  BOOL PreTranslateMessage(MSG* pMsg) override;

 private:
  HWND m_hPage = nullptr;
  CScrollForm* m_pForm = nullptr;
  CMessageLoop* m_pLoop = nullptr;
};
