// The common part of the shell's dialogs that show a web page in the embedded browser control:
// the control in its host window between the title and the soft-key bar, its events, page loads
// and page script calls, and the input panel: when an edit of the page takes the focus the panel
// rises and the page shrinks above it; otherwise the panel goes down.
#pragma once

#include <memory>
#include <string>

#include "base_dlg.h"
#include "com/event_sink.h"
#include "html/web_browser.h"
#include "skin_center_key.h"
#include "trade_pay_dlg.h"
#include "trade_pay_params.h"

// Posted to itself when an edit of the page took the focus (one at a time).
#define WM_KV_EDIT_FOCUS 0x644

class CBrowserPageDlg : public CBaseDlg {
 public:
  CBrowserPageDlg();
  ~CBrowserPageDlg() override;

  BOOL PreTranslateMessage(MSG* pMsg) override;

  // "clientID=" and the client id as it is, and with the id escaped for a form body.
  virtual CStringW GetClientIdParam();
  virtual CStringW GetEscapedClientIdParam();
  virtual bool IsCloseAfterPay() { return m_bCloseAfterPay; }

  int GetBackgroundBitmapId(int orientation) override;
  int GetLayoutStringId() override;
  BOOL HasSecondLabel() override { return FALSE; }

  CTradePayDlg* GetTradePayDialog() const { return m_pTradePayDlg.get(); }

  // The control's window and its page view (for tests and the focus rule); null without them.
  HWND GetBrowserHost() const { return m_host.m_hWnd; }
  HWND GetPageWindow() const { return m_pageWindow; }

  BEGIN_MSG_MAP(CBrowserPageDlg)
    MESSAGE_HANDLER(WM_ACTIVATE, OnActivate)
    MESSAGE_HANDLER(WM_SETTINGCHANGE, OnSettingChange)
    MESSAGE_HANDLER(WM_KV_EDIT_FOCUS, OnEditFocus)
    MESSAGE_HANDLER(WM_KV_SETSIP, OnSetSip)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    CHAIN_MSG_MAP(CBaseDlg)
  END_MSG_MAP()

 protected:
  // Runs the base's initialisation, then makes the control with the status bar property as
  // given and connects the events. False when the dialog's window went away meanwhile.
  bool InitBrowserPage(WPARAM wParam, LPARAM lParam, bool statusBar);

  // The browser's events, on the user-interface thread. BeforeNavigate2 returns true to cancel
  // the navigation; postData is the request's body as the page sends it.
  virtual bool OnBeforeNavigate(const CStringW& url, const std::string& postData) = 0;
  virtual void OnNavigateComplete(const CStringW& url) = 0;
  virtual void OnDocumentComplete(const CStringW& url) = 0;
  // The dialog's window is going: the trade pay dialog is closed; after this the session cookie
  // is set back and the control released.
  virtual void OnBrowserClosing() {}

  // The header of a form body.
  static constexpr const WCHAR* kFormHeader = u"Content-Type: application/x-www-form-urlencoded\r\n";

  // Loads a page by form post behind the wait box: the body is the client identity (for the
  // gateway's own pages only) joined with extra. False when the control did not take it.
  bool PostPage(const CStringW& url, const CStringW& extra);
  // Navigates the control: a POST of the body with the headers when a body is given, else a
  // GET. The flag navigating is set during the call. False when the control did not take it.
  bool Navigate(const CStringW& url, const std::string* body, const WCHAR* headers);
  void StopBrowser();
  bool IsNavigating() const { return m_bNavigating; }

  // The page shown: its title, its address and its character set ("utf-8" or "gbk"); false
  // without a page.
  bool GetDocumentTitle(CStringW& title);
  CStringW GetDocumentCharset();
  // Whether the page defines the function; and calls it (with the script object as "this"):
  // S_OK with the answer as text, else the failure.
  bool PageHasFunction(const WCHAR* name);
  HRESULT CallPageFunction(const WCHAR* name, CStringW& answer);

  // The host's place: the full height below the title, or above the input panel.
  void FitBrowserFull();
  void FitBrowserAboveSip();
  void FocusBrowser();

  // The shared message box: the wait box hidden; a box of the type over the active window.
  void HideWaitBox();
  void ShowBox(const CStringW& text, UINT type);

  // Opens the trade pay dialog on m_params over this dialog, closing one still open.
  void OpenTradePayDialog();
  void CloseTradePay();

  // The gateway's session cookie as it stood when the dialog opened: set back when it goes.
  CStringW m_strSessionCookie;
  TradePayParams m_params;
  bool m_bCloseAfterPay = true;

 private:
  LRESULT OnActivate(UINT, WPARAM wParam, LPARAM, BOOL& bHandled);
  LRESULT OnSettingChange(UINT, WPARAM wParam, LPARAM, BOOL& bHandled);
  LRESULT OnEditFocus(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSetSip(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);

  void ConnectEvents();
  void ReleaseBrowser();
  void MoveBrowser(int bottom);
  // The page's script object, with a reference for the caller; null without a page.
  IDispatchEx* GetScriptObject();

  std::unique_ptr<CTradePayDlg> m_pTradePayDlg;
  CAxWindow m_host;
  IWebBrowser2* m_pBrowser = nullptr;
  HWND m_pageWindow = nullptr;
  CDispEventSink m_events{DIID_DWebBrowserEvents2};
  bool m_bNavigating = false;
  bool m_bEditFocusHandled = false;
};
