// The browser control: the component object behind IWebBrowser2 and its events, and what runs
// a navigation from its start to its DocumentComplete: the fetch, the page, its scripts, the
// history. It lives in a host window (browser_windows.cpp), which holds a reference to it;
// calls made after the host window is gone fail with E_FAIL.
#pragma once

#include <set>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "browser_events.h"
#include "browser_page.h"
#include "html/web_browser.h"
#include "linked_files.h"
#include "page_fetch.h"
#include "page_view.h"

namespace kv::html {

class Browser final : public IWebBrowser2,
                      public IConnectionPointContainer,
                      private PageOwner,
                      private ViewOwner {
 public:
  // Private messages of the control's window.
  static constexpr UINT kFetchProgress = WM_APP + 1;    // wParam: the fetch step
  static constexpr UINT kRunQueued = WM_APP + 2;        // a navigation a script started
  static constexpr UINT kLinkedProgress = WM_APP + 3;   // wParam: the step of a linked file's fetch
  // The control's timer that bounds the fetch of a file the page links.
  static constexpr UINT_PTR kLinkedTimer = 1;

  // A style sheet or script file longer than this, or one that takes longer than this to come,
  // is left out; so is an image that takes longer.
  static constexpr size_t kMaxFileBody = 1u << 20;
  static constexpr UINT kLinkedTime = 15000;

  // Makes the control's window and the page view inside the host window; the host holds the
  // reference returned. Null when the windows cannot be made.
  static Browser* Create(HWND host);

  // IUnknown.
  HRESULT QueryInterface(REFIID riid, void** ppvObject) override;
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override;
  // IDispatch: no members by number.
  HRESULT GetTypeInfoCount(UINT* pctinfo) override;
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }
  // IWebBrowser2.
  HRESULT Navigate2(VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                    VARIANT* Headers) override;
  HRESULT Stop() override;
  HRESULT get_Document(IDispatch** ppDisp) override;
  HRESULT get_LocationURL(BSTR* LocationURL) override;
  HRESULT get_StatusBar(VARIANT_BOOL* pBool) override;
  HRESULT put_StatusBar(VARIANT_BOOL Value) override;
  // IConnectionPointContainer.
  HRESULT FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override;

  // The windows' messages.
  LRESULT ControlMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT ViewMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // WM_FORWARDMSG to the host: TRUE when the page took the key (it has been handled).
  BOOL TranslateKey(const MSG& message);
  void FocusPage();
  // The host window is being destroyed: the control lets go of its windows.
  void HostDestroyed();

 private:
  // A navigation: where to, how, and where it stands in the history. The history keeps only
  // addresses: going back fetches the page again with GET.
  struct Navigation {
    std::u16string url;
    std::string method = "GET";
    std::string body;
    std::string headers;
    bool replace = false;            // takes the place of the current history entry
    std::optional<size_t> history;   // goes back to this history entry
  };

  Browser(HWND host, HWND control, HWND view);
  ~Browser();

  bool Alive() const { return view_ != nullptr; }
  // Fires BeforeNavigate2 and, unless cancelled, starts the navigation.
  void Navigate(Navigation navigation);
  void FetchProgress(WPARAM step);
  void Loaded(Navigation navigation, FetchResult result);
  // A loaded page's sheets and script files are fetched one after the other; then its scripts
  // run, its images are fetched one after the other, and it completes.
  void NextFile();
  void RunScripts();
  void NextImage();
  void StartLinkedFetch(const std::u16string& url, size_t maxBody);
  void LinkedProgress(WPARAM step);
  void LinkedTimedOut();
  void LinkedFetched(FetchResult result);
  void FileFetched(const LinkedFile& file, FetchResult result);
  void Complete();
  void DropCompletion();
  void Failed(Navigation navigation, LONG status);
  void Show(std::shared_ptr<BrowserPage> page);
  void FollowLink(const std::shared_ptr<BrowserPage>& page, const dom::Node& link);
  void Submit(const std::shared_ptr<BrowserPage>& page, dom::Node& form, const dom::Node* submitter);
  void RememberInHistory(const Navigation& navigation);
  void RunQueued();
  void Queue(Navigation navigation);
  std::optional<Navigation> Submission(BrowserPage& page, dom::Node& form, const dom::Node* submitter);
  // The view shows what the last script run changed, and a queued navigation is set to run.
  void AfterScript();
  void TimerDue(unsigned id);

  // PageOwner.
  void QueueNavigation(const std::u16string& url, bool replace) override;
  void QueueBack() override;
  void QueueSubmit(BrowserPage& page, dom::Node& form) override;
  void Alert(const std::u16string& text) override;
  unsigned StartTimer(unsigned ms) override;
  void StopTimer(unsigned id) override;
  void ScriptReturned() override { AfterScript(); }
  // ViewOwner.
  void Activate(uint32_t node) override;
  void SubmitFrom(uint32_t field) override;

  ULONG references_ = 1;
  HWND host_;
  HWND control_;
  HWND view_;
  CConnectionPoint eventsPoint_;
  BrowserEvents events_;
  PageFetch fetch_;
  PageFetch linkedFetch_;  // the sheets, script files and images of the page
  std::unique_ptr<PageView> pageView_;
  std::shared_ptr<BrowserPage> page_;
  IHTMLDocument2* document_ = nullptr;  // the component object of page_, once asked for
  std::optional<Navigation> pending_;   // being fetched
  std::optional<Navigation> queued_;    // started by a script, to run after it
  bool loading_ = false;                // a fetched page is not complete yet
  // A page waiting for its sheets and script files before its scripts run, and for its images
  // before its onload and DocumentComplete.
  struct Completion {
    Navigation navigation;
    LinkedFiles files;
    std::optional<LinkedFile> file{};  // being fetched
    bool sheetsCame = false;
    std::vector<std::pair<std::string, std::u16string>> images{};
    size_t next = 0;
    size_t fetched = 0;
  };
  std::optional<Completion> completing_;
  std::vector<Navigation> history_;
  size_t historyIndex_ = 0;
  std::set<unsigned> timers_;
  unsigned nextTimer_ = 1;
  VARIANT_BOOL statusBar_ = VARIANT_FALSE;
};

}  // namespace kv::html
