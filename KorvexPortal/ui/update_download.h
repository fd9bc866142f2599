// The download of an update package on a thread of its own, behind a download box: the box starts
// the download when its window is made and closes when the download ended; its cancel key stops
// the download where it is. A download that failed or was stopped leaves no file behind.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>

#include "skin_message_box.h"
#include "text/cstring.h"
#include "windows.h"

struct IBinding;

// One download: the address, the file, the thread and the way to stop it.
class CUpdateDownload {
 public:
  enum class Outcome { kRunning, kDone, kFailed };

  CUpdateDownload(const CStringW& url, const CStringW& path) : m_url(url), m_path(path) {}
  ~CUpdateDownload();
  CUpdateDownload(const CUpdateDownload&) = delete;
  CUpdateDownload& operator=(const CUpdateDownload&) = delete;

  // Starts the thread; the window (if any) is sent WM_CLOSE once the download ended.
  static bool Start(const std::shared_ptr<CUpdateDownload>& download, HWND notify);
  // Stops the download where it is (any thread); a download that ended is left as it is.
  void Abort();
  // Waits (answering sent messages) until the thread ended; false when it did not in the bound.
  bool Join(DWORD boundMs);
  Outcome GetOutcome() const { return m_outcome; }
  HRESULT GetResult() const { return m_result; }

  // What the download's status callback does: keeps the binding while the download runs.
  HRESULT OnStart(IBinding* binding);
  void OnStop();
  bool IsAborted() const { return m_bAborted; }

 private:
  static DWORD WINAPI ThreadProc(LPVOID parameter);
  void Run(HWND notify);

  CStringW m_url;
  CStringW m_path;
  HANDLE m_hThread = nullptr;
  std::mutex m_lock;
  IBinding* m_pBinding = nullptr;  // guarded by m_lock
  std::atomic<bool> m_bAborted{false};
  std::atomic<Outcome> m_outcome{Outcome::kRunning};
  std::atomic<HRESULT> m_result{S_OK};
};

// The download box: the text "正在下载……" with a cancel key and a moving strip. It starts the
// download when its window is made; the download's end closes it (result -1), the cancel key ends
// it with 1002.
class CUpdateDownloadBox : public CSkinMessageBox {
 public:
  explicit CUpdateDownloadBox(std::shared_ptr<CUpdateDownload> download);

  BEGIN_MSG_MAP(CUpdateDownloadBox)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    CHAIN_MSG_MAP(CSkinMessageBox)
  END_MSG_MAP()

  bool Started() const { return m_bStarted; }

 private:
  LRESULT OnInitDialog(UINT message, WPARAM wParam, LPARAM lParam, BOOL& bHandled);

  std::shared_ptr<CUpdateDownload> m_download;
  bool m_bStarted = false;
};
