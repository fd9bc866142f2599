// The embedded browser dialog: a page of the service's web site (the entertainment page, a
// promotion after login) in the browser control, fetched by a form POST that carries the client
// identity. A link to the service's trade-pay address is not followed: the trade is queried and
// the trade pay dialog opens on it; after the payment the page's return address is loaded. The
// session-timeout page sends the user back to login.
#pragma once

#include "browser_page_dlg.h"

// Posted to itself after a trade link was intercepted: the trade is queried.
#define WM_KV_QUERY_TRADE 0x60F

class CEmbedBrCtlDlg : public CBrowserPageDlg {
 public:
  CEmbedBrCtlDlg();
  ~CEmbedBrCtlDlg() override;

  virtual CEmbedBrCtlDlg* CreateInstance() { return new CEmbedBrCtlDlg; }

  int GetTemplateId(int) override;
  int GetSoftKey1Id() override;
  int GetSoftKey2Id() override;
  int GetCenterKeyId() override;

  // Set before the first load: the title, and the message the right key posts to the parent
  // (0: none).
  void SetCaption(const CStringW& caption) { m_strCaption = caption; }
  void SetRightKeyMessage(UINT message) { m_nRightKeyMessage = message; }
  // Shows the page: the dialog is made over the parent when it has no window, the wait box
  // shows until the page is complete.
  void LoadPage(const CStringW& url, const CStringW& extra, HWND parent);
  // "返回" on the left key; the right key emptied and disabled.
  void SetBackKeys();

  // What the last trade link named (for tests).
  const CStringW& GetTradeNo() const { return m_strTradeNo; }
  const CStringW& GetReturnUrl() const { return m_strReturnUrl; }

  BEGIN_MSG_MAP(CEmbedBrCtlDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_KV_QUERY_TRADE, OnQueryTrade)
    MESSAGE_HANDLER(WM_KV_SERVICE_DONE, OnTradeQueried)
    MESSAGE_HANDLER(WM_KV_TRADEPAY_RESULT, OnTradePayResult)
    MESSAGE_HANDLER(WM_KV_WAIT_CANCELLED, OnWaitCancelled)
    COMMAND_ID_HANDLER(1172, OnLeftKey)
    COMMAND_ID_HANDLER(1021, OnRightKey)
    CHAIN_MSG_MAP(CBrowserPageDlg)
  END_MSG_MAP()

 protected:
  bool OnBeforeNavigate(const CStringW& url, const std::string& postData) override;
  void OnNavigateComplete(const CStringW& url) override;
  void OnDocumentComplete(const CStringW& url) override;

 private:
  LRESULT OnInitDialog(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
  LRESULT OnQueryTrade(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnTradeQueried(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
  LRESULT OnTradePayResult(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnWaitCancelled(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLeftKey(WORD, WORD, HWND, BOOL&);
  LRESULT OnRightKey(WORD, WORD, HWND, BOOL&);

  // The key's message to the parent (when there is one), then the page stops and hides.
  void LeavePage(UINT message);
  // Fills the trade pay record from the trade query's reply and opens the trade pay dialog.
  void OpenTradePay(const class CResponseMap& reply, int status);

  CStringW m_strCaption;
  CStringW m_strTradeNo;
  CStringW m_strReturnUrl;
  UINT m_nLeftKeyMessage = 0;
  UINT m_nRightKeyMessage = 0;
  bool m_bShownByLoad = false;
  bool m_bNavigated = false;
};
