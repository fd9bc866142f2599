// The HTML page dialog: the service's web centre ("/puc/webMC.htm") in the browser control, driven
// by the page: its script gives the soft-key menus ("clientMenu") and an error text
// ("clientError"), and chooses per form ("beforeSubmit") whether a submit loads a page or goes to
// the gateway as a request whose bill (status 888) opens the trade pay dialog. The dialog cancels
// every navigation of the gateway's pages and performs it itself, with the client identity;
// pages of other hosts are followed by the control as they are.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "browser_page_dlg.h"
#include "client_menu.h"
#include "service_listener.h"
#include "service_results.h"

// Posted to itself: the stored navigation is performed, as a page load or a gateway request.
#define WM_KV_PERFORM_NAVIGATION 0x63A
// Posted to the parent after a payment when the dialog closes after it.
#define WM_KV_HTML_PAID 0x630
// Posted to itself to open the trade pay dialog on a bill once the wait box has gone and handed
// the activation back, so the trade pay dialog is shown above every other window.
#define WM_KV_HTML_OPEN_TRADEPAY 0x642
// Posted to itself to show the loaded page once the wait box has gone and handed the activation
// back to its owner, so the page is the active window.
#define WM_KV_HTML_SHOW_PAGE 0x643

class CHtmlDlg : public CBrowserPageDlg, public IServiceListener {
 public:
  CHtmlDlg();
  ~CHtmlDlg() override;

  virtual CHtmlDlg* CreateInstance() { return new CHtmlDlg; }

  int GetTemplateId(int) override;
  int GetSoftKey1Id() override;
  int GetSoftKey2Id() override;
  int GetCenterKeyId() override;

  // Loads the page by form post; the dialog is made (not shown) when it has no window and shows
  // once the page is complete.
  void NavigatePost(const CStringW& url, const CStringW& extra, HWND parent);

  // On the network worker: keeps the bill of "sendHttpRequest" and ends the wait.
  int OnServiceNotify(int code, HRESULT hr, LPARAM value, const WCHAR* memo) override;

  // The state the page chose (for tests).
  const std::vector<ClientMenuEntry>& GetLeftEntries() const { return m_left; }
  const std::vector<ClientMenuEntry>& GetRightEntries() const { return m_right; }
  bool IsHtmlMode() const { return m_bHtmlMode; }

  BEGIN_MSG_MAP(CHtmlDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_ACTIVATE, OnActivate)
    MESSAGE_HANDLER(WM_KV_WAIT_CANCELLED, OnWaitCancelled)
    MESSAGE_HANDLER(WM_KV_SERVICE_DONE, OnServiceDone)
    MESSAGE_HANDLER(WM_KV_HTML_OPEN_TRADEPAY, OnOpenTradePay)
    MESSAGE_HANDLER(WM_KV_HTML_SHOW_PAGE, OnShowPage)
    MESSAGE_HANDLER(WM_KV_TRADEPAY_RESULT, OnTradePayResult)
    MESSAGE_HANDLER(WM_KV_PERFORM_NAVIGATION, OnPerformNavigation)
    COMMAND_RANGE_HANDLER(133, 153, OnMenuCommand)
    CHAIN_MSG_MAP(CBrowserPageDlg)
  END_MSG_MAP()

 protected:
  bool OnBeforeNavigate(const CStringW& url, const std::string& postData) override;
  void OnNavigateComplete(const CStringW&) override {}
  void OnDocumentComplete(const CStringW& url) override;
  void OnBrowserClosing() override;

 private:
  LRESULT OnInitDialog(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
  LRESULT OnActivate(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnWaitCancelled(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnServiceDone(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnOpenTradePay(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnShowPage(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnTradePayResult(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPerformNavigation(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMenuCommand(WORD, WORD id, HWND, BOOL&);

  // Sends the form to the gateway as "sendHttpRequest" behind the wait box.
  void PostRequest(const CStringW& url, const CStringW& data);
  // The soft keys from the page's menu text.
  void BuildSoftKeys(const CStringW& menuText);
  void SetKeyEntries(int key, const std::vector<ClientMenuEntry>& entries);
  void ReadSessionCookie();
  void OpenTradePay(const BillResult& bill);
  void Close();

  CStringW m_strUrl;
  CStringW m_strPostData;
  std::vector<ClientMenuEntry> m_left;
  std::vector<ClientMenuEntry> m_right;
  HMENU m_hKeyMenus[2] = {nullptr, nullptr};
  // What the listener keeps, guarded: it writes on the network worker.
  std::mutex m_lock;
  std::unique_ptr<BillResult> m_pResult;
  // The bill whose trade pay dialog opens once the wait box has gone.
  std::unique_ptr<BillResult> m_pOpeningBill;
  CStringW m_strResultMemo;
  bool m_bHtmlMode = true;
  bool m_bShownByLoad = false;
  bool m_bCookieStale = false;
};
